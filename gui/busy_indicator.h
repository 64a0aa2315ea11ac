#pragma once

#include <QProgressBar>

// An indicator that only runs or stands still; it never shows a value, and it
// is hidden while it stands still.
class BusyIndicator : public QProgressBar {
    Q_OBJECT

public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return animating_; }

private:
    bool animating_ = false;
};
