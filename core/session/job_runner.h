#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Owns the window's background work. Each job runs on a thread of its own
// with a stop token, working on the copy of its inputs that it was given;
// what it reports, and in the end its result, are queued and handed to
// callbacks on the main thread when the main thread calls deliver(). The
// callbacks stay with the runner: no thread ever holds a pointer to whoever
// started the job. Plain C++: the window wakes its event loop through
// `wake`, a test calls deliver() itself.
class JobRunner {
public:
    // Tells a job's progress; callable from the job's thread.
    using Reporter = std::function<void(std::string_view text)>;

    // `wake` is called, from any thread, when something waits for deliver().
    explicit JobRunner(std::function<void()> wake = {});
    ~JobRunner();  // stopAll with the default bound
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Starts `work`. Its reports reach `onReport` and its result reaches
    // `onDone`, on the main thread, in the order they were made; `onDone` last.
    template <typename Result>
    void start(std::function<Result(std::stop_token, const Reporter&)> work,
               std::function<void(std::string_view)> onReport, std::function<void(Result)> onDone);

    // Main thread: runs every queued report and result callback, in order.
    void deliver();

    // Jobs that have not ended yet.
    size_t running() const;
    // Main thread: no job has a result still to hand over.
    bool idle() const { return callbacks_.empty(); }

    // Asks every job to stop, waits at most `bound` for them to end, and
    // drops whatever they still hand back. Returns true when every job ended;
    // a job that did not is left to end on its own, holding only its inputs
    // and the queue. Afterwards no callback runs again.
    bool stopAll(std::chrono::milliseconds bound = std::chrono::milliseconds(2000));

private:
    struct Shared;
    struct Callbacks {
        std::function<void(std::string_view)> onReport;
        std::function<void()> onDone;
    };

    void startErased(std::function<void(std::stop_token, const Reporter&)> work,
                     std::function<void(std::string_view)> onReport, std::function<void()> onDone);
    void reapEnded();

    std::shared_ptr<Shared> shared_;
    std::map<uint64_t, Callbacks> callbacks_;  // main thread only
    std::map<uint64_t, std::jthread> threads_;
    uint64_t nextJob_ = 0;
    bool stopped_ = false;
};

template <typename Result>
void JobRunner::start(std::function<Result(std::stop_token, const Reporter&)> work,
                      std::function<void(std::string_view)> onReport, std::function<void(Result)> onDone)
{
    // Written by the job before it queues its end, read after the queue hands
    // the end over: the queue's lock orders the two.
    auto box = std::make_shared<std::optional<Result>>();
    startErased([work = std::move(work), box](std::stop_token stop, const Reporter& report) {
        box->emplace(work(stop, report));
    },
                std::move(onReport), [box, onDone = std::move(onDone)] { onDone(std::move(**box)); });
}
