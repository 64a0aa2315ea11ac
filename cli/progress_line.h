#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tokenade::cli {

// The status texts of an audit with a running count of the files seen, kept on
// one rewritten line of standard error. Shows nothing unless standard error is
// a terminal. The line is cleared when the object goes.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void setStatus(std::string_view text);
    std::atomic<size_t>* filesSeen() { return &filesSeen_; }

private:
    void drawLocked();  // with mutex_ held

    bool enabled_;
    std::atomic<size_t> filesSeen_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::string status_;
    std::thread painter_;
};

}  // namespace tokenade::cli
