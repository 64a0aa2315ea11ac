#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

// Hands calls from background threads to the main thread, in the order they
// are posted, without waiting. Once closed (the receiver is going away), every
// later post is dropped, so a thread that outlives the window harms nothing.
class MainThreadMailbox {
public:
    explicit MainThreadMailbox(QObject* receiver) : receiver_(receiver) {}

    void post(std::function<void()> call);  // any thread
    void close();                           // main thread

private:
    std::mutex mutex_;
    QObject* receiver_;
};

// Runs `work` on a new thread that nobody joins. The number of such threads
// still running is kept, so that the program can end without waiting for them.
void startDetachedThread(std::function<void()> work);
int runningDetachedThreads();
