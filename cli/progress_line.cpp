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
        while (!done_.load()) {
            draw();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
}

ProgressLine::~ProgressLine()
{
    if (!enabled_)
        return;
    done_.store(true);
    painter_.join();
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
}

void ProgressLine::setStatus(std::string_view text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    status_.assign(text);
}

void ProgressLine::draw()
{
    std::string status;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        status = status_;
    }
    std::fprintf(stderr, "\r%s %zu files seen\x1b[K", status.c_str(), filesSeen_.load());
    std::fflush(stderr);
}

}  // namespace tokenade::cli
