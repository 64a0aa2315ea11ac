#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Wakes the main thread's event loop from any thread and runs `onWake` there.
// Only a counter in the kernel crosses threads (an eventfd): whatever the
// woken code reads, its own locks hand over.
class EventLoopWake : public QObject {
    Q_OBJECT

public:
    explicit EventLoopWake(std::function<void()> onWake, QObject* parent = nullptr);
    ~EventLoopWake() override;

    // Safe from any thread while the object lives.
    void wake();

private:
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> onWake_;
};
