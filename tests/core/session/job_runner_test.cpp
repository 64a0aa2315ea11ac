#include "core/session/job_runner.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <latch>
#include <mutex>

namespace {

// A runner whose wake-up a test can wait for, instead of an event loop.
class JobRunnerTest : public ::testing::Test {
protected:
    // Delivers until `done` holds, waiting for each wake-up.
    void deliverUntil(const std::function<bool()>& done)
    {
        while (!done()) {
            std::unique_lock<std::mutex> lock(mutex);
            woken.wait(lock, [this] { return wakes > 0; });
            wakes = 0;
            lock.unlock();
            jobs.deliver();
        }
    }

    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    JobRunner jobs{[this] {
        std::lock_guard<std::mutex> lock(mutex);
        ++wakes;
        woken.notify_all();
    }};
};

// A callback that opens a dialog runs a nested event loop, which delivers
// what came meanwhile; nothing older may be delivered after it.
TEST_F(JobRunnerTest, NestedDeliveryKeepsTheOrderOfReports)
{
    const std::vector<std::string> texts{"Caching Tokenade rom directories...", "Caching supported roms list...",
                                         "Auditing roms..."};
    std::latch queued(1), go(1), last(1);
    std::vector<std::string> seen;
    bool done = false;
    jobs.start<int>(
        [&](std::stop_token, const JobRunner::Reporter& report) {
            report(texts[0]);
            report(texts[1]);
            queued.count_down();
            go.wait();
            report(texts[2]);
            last.count_down();
            return 0;
        },
        [&](std::string_view text) {
            seen.emplace_back(text);
            if (seen.size() == 1) {  // the first report opens a dialog
                go.count_down();
                last.wait();
                jobs.deliver();
            }
        },
        [&](int) { done = true; });
    queued.wait();
    jobs.deliver();
    deliverUntil([&] { return done; });
    EXPECT_EQ(seen, texts);
}

// Quitting: a job that honours its stop token ends at once and is waited
// for; what it hands back afterwards reaches nobody.
TEST_F(JobRunnerTest, StopAllEndsJobsAndDropsTheirResults)
{
    std::latch started(1);
    bool delivered = false;
    jobs.start<int>(
        [&](std::stop_token stop, const JobRunner::Reporter&) {
            started.count_down();
            std::mutex idle;
            std::unique_lock<std::mutex> lock(idle);
            std::condition_variable_any().wait(lock, stop, [] { return false; });
            return 1;
        },
        {}, [&](int) { delivered = true; });
    started.wait();
    EXPECT_TRUE(jobs.stopAll());
    EXPECT_EQ(jobs.running(), 0u);
    jobs.deliver();
    EXPECT_FALSE(delivered);
}

}  // namespace
