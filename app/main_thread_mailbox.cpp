#include "main_thread_mailbox.h"

#include <QMetaObject>

#include <atomic>
#include <thread>

namespace {
std::atomic<int> detachedThreads{0};
}

void MainThreadMailbox::post(std::function<void()> call)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!receiver_)
        return;
    // The main thread takes the same lock before it runs the call: what the
    // posting thread wrote is then visibly its own to read, whatever Qt's
    // queue does inside (and ThreadSanitizer, which cannot see into Qt, agrees).
    QMetaObject::invokeMethod(
        receiver_,
        [this, call = std::move(call)] {
            { std::lock_guard<std::mutex> handedOver(mutex_); }
            call();
        },
        Qt::QueuedConnection);
}

void MainThreadMailbox::close()
{
    std::lock_guard<std::mutex> lock(mutex_);
    receiver_ = nullptr;
}

void startDetachedThread(std::function<void()> work)
{
    detachedThreads.fetch_add(1);
    std::thread([work = std::move(work)] {
        work();
        detachedThreads.fetch_sub(1);
    }).detach();
}

int runningDetachedThreads()
{
    return detachedThreads.load();
}
