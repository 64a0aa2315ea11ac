#include "job_runner.h"

#include <deque>

// What the jobs and the main thread share: the queue of what the jobs hand
// back, and which jobs have ended. Jobs keep it alive, so a job that outlives
// the runner still has somewhere to put its last words.
struct JobRunner::Shared {
    struct Message {
        uint64_t job;
        bool done;
        std::string text;
    };

    std::mutex mutex;
    std::condition_variable ended;
    std::deque<Message> queue;
    std::vector<uint64_t> endedJobs;
    size_t running = 0;
    bool closed = false;
    std::function<void()> wake;

    // With the lock held. The wake-up happens under the lock, so that once
    // the runner has closed the queue nobody wakes an event loop that may be gone.
    void postLocked(Message message)
    {
        if (closed)
            return;
        const bool wasEmpty = queue.empty();
        queue.push_back(std::move(message));
        if (wasEmpty && wake)
            wake();
    }

    std::optional<Message> take();

    void post(Message message)
    {
        std::lock_guard<std::mutex> lock(mutex);
        postLocked(std::move(message));
    }

    // The job has ended: its last message and its end are one step, so that
    // whoever sees no job running finds every message queued.
    void end(uint64_t job)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            endedJobs.push_back(job);
            --running;
            postLocked({job, true, {}});
        }
        ended.notify_all();
    }
};

JobRunner::JobRunner(std::function<void()> wake)
    : shared_(std::make_shared<Shared>())
{
    shared_->wake = std::move(wake);
}

JobRunner::~JobRunner()
{
    stopAll();
}

void JobRunner::startErased(std::function<void(std::stop_token, const Reporter&)> work,
                            std::function<void(std::string_view)> onReport, std::function<void()> onDone)
{
    if (stopped_)
        return;
    reapEnded();
    const uint64_t job = nextJob_++;
    callbacks_[job] = Callbacks{std::move(onReport), std::move(onDone)};
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        ++shared_->running;
    }
    threads_.emplace(job, std::jthread([shared = shared_, job, work = std::move(work)](std::stop_token stop) {
        const Reporter report = [&](std::string_view text) { shared->post({job, false, std::string(text)}); };
        work(stop, report);
        shared->end(job);
    }));
}

// One message at a time: a callback that opens a dialog runs a nested event
// loop, which delivers the messages after it; none may be held back here to
// run later out of order.
std::optional<JobRunner::Shared::Message> JobRunner::Shared::take()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (queue.empty())
        return std::nullopt;
    Message message = std::move(queue.front());
    queue.pop_front();
    return message;
}

void JobRunner::deliver()
{
    while (std::optional<Shared::Message> message = shared_->take()) {
        const auto found = callbacks_.find(message->job);
        if (found == callbacks_.end())
            continue;
        if (!message->done) {
            if (found->second.onReport)
                found->second.onReport(message->text);
            continue;
        }
        // The callback may start another job, which changes the table.
        const std::function<void()> onDone = std::move(found->second.onDone);
        callbacks_.erase(found);
        onDone();
    }
    reapEnded();
}

void JobRunner::reapEnded()
{
    std::vector<uint64_t> ended;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        ended.swap(shared_->endedJobs);
    }
    for (uint64_t job : ended)
        threads_.erase(job);  // joins a thread that has nothing left to do
}

size_t JobRunner::running() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->running;
}

bool JobRunner::stopAll(std::chrono::milliseconds bound)
{
    if (stopped_)
        return running() == 0;
    stopped_ = true;
    for (auto& [job, thread] : threads_)
        thread.request_stop();
    bool allEnded;
    {
        std::unique_lock<std::mutex> lock(shared_->mutex);
        allEnded = shared_->ended.wait_for(lock, bound, [this] { return shared_->running == 0; });
        shared_->closed = true;
        shared_->queue.clear();
    }
    reapEnded();
    // A job still walking a folder that does not answer is not waited for.
    for (auto& [job, thread] : threads_)
        thread.detach();
    threads_.clear();
    callbacks_.clear();
    return allEnded;
}
