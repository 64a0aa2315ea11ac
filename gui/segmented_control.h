#pragma once

#include <QButtonGroup>
#include <QStringList>
#include <QWidget>

// A row of exclusive segments, at most one selected, each of which can be
// enabled or disabled on its own. Selecting by code sends no signal; a click
// by the user sends segmentClicked.
class SegmentedControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList segmentLabels READ segmentLabels WRITE setSegmentLabels)

public:
    explicit SegmentedControl(QWidget* parent = nullptr);

    QStringList segmentLabels() const;
    void setSegmentLabels(const QStringList& labels);  // replaces all segments; none selected
    int segmentCount() const;
    void setSegmentLabel(int segment, const QString& label);

    int selectedSegment() const;  // -1 when none is selected
    void setSelectedSegment(int segment);  // -1 (or an index out of range) selects none

    using QWidget::setEnabled;
    void setEnabled(bool enabled, int segment);
    bool isEnabledForSegment(int segment) const;

    // The button that shows a segment, for tests that click it.
    QAbstractButton* segmentButton(int segment) const;

Q_SIGNALS:
    void segmentClicked(int segment);

private:
    QButtonGroup group_;
};
