#include "progress_line.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace tokenade::cli {

ProgressLine::ProgressLine()
    : enabled_(::isatty(STDERR_FILENO) == 1)
{
    if (!enabled_)
        return;
    painter_ = std::thread([this] {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done_) {
            drawLocked();
            // Woken at once when the line goes, so that it never delays the exit.
            wake_.wait_for(lock, std::chrono::milliseconds(100));
        }
    });
}

ProgressLine::~ProgressLine()
{
    if (!enabled_)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_all();
    painter_.join();
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
}

void ProgressLine::setStatus(std::string_view text)
{
    if (!enabled_)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    status_.assign(text);
    drawLocked();  // every phase shows, however short
}

void ProgressLine::drawLocked()
{
    std::fprintf(stderr, "\r%s %zu files seen\x1b[K", status_.c_str(), filesSeen_.load());
    std::fflush(stderr);
}

}  // namespace tokenade::cli
