#include "app/job_runner.h"

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

TEST_F(JobRunnerTest, ReportsAndResultArriveInOrderOnTheDeliveringThread)
{
    std::vector<std::string> seen;
    std::optional<int> result;
    const auto caller = std::this_thread::get_id();
    jobs.start<int>(
        [](std::stop_token, const JobRunner::Reporter& report) {
            report("Caching Tokenade rom directories...");
            report("Auditing roms...");
            return 42;
        },
        [&](std::string_view text) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            seen.emplace_back(text);
        },
        [&](int value) { result = value; });
    deliverUntil([&] { return result.has_value(); });
    EXPECT_EQ(seen, (std::vector<std::string>{"Caching Tokenade rom directories...", "Auditing roms..."}));
    EXPECT_EQ(*result, 42);
    EXPECT_EQ(jobs.running(), 0u);
}

// A callback that opens a dialog runs a nested event loop, which delivers
// what came meanwhile; nothing older may be delivered after it.
TEST_F(JobRunnerTest, NestedDeliveryKeepsTheOrderOfReports)
{
    std::latch first(1), go(1), second(1);
    std::vector<std::string> seen;
    bool bDone = false;
    jobs.start<int>([](std::stop_token, const JobRunner::Reporter&) { return 0; }, {}, [&](int) {
        go.count_down();
        second.wait();
        jobs.deliver();  // as the dialog's event loop would
    });
    {
        std::unique_lock<std::mutex> lock(mutex);  // its end is queued, not delivered
        woken.wait(lock, [this] { return wakes > 0; });
        wakes = 0;
    }
    jobs.start<int>(
        [&](std::stop_token, const JobRunner::Reporter& report) {
            report("Caching Tokenade rom directories...");
            first.count_down();
            go.wait();
            report("Auditing roms...");
            second.count_down();
            return 0;
        },
        [&](std::string_view text) { seen.emplace_back(text); }, [&](int) { bDone = true; });
    first.wait();
    jobs.deliver();
    deliverUntil([&] { return bDone; });
    EXPECT_EQ(seen, (std::vector<std::string>{"Caching Tokenade rom directories...", "Auditing roms..."}));
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
