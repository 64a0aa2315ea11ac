#include "event_loop_wake.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

EventLoopWake::EventLoopWake(std::function<void()> onWake, QObject* parent)
    : QObject(parent)
    , fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    , onWake_(std::move(onWake))
{
    if (fd_ < 0)
        return;  // out of descriptors: wake() posts to the event loop instead
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        uint64_t count;
        [[maybe_unused]] const ssize_t got = ::read(fd_, &count, sizeof count);
        onWake_();
    });
}

EventLoopWake::~EventLoopWake()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void EventLoopWake::wake()
{
    if (fd_ < 0) {
        QMetaObject::invokeMethod(this, onWake_, Qt::QueuedConnection);
        return;
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}
