#include "app/cli/CliProgress.h"

#include "model/NumberText.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

namespace vandra::cli {
namespace {
constexpr auto kInterval = std::chrono::milliseconds(250);
}

TerminalProgress::TerminalProgress(const Progress& progress) : progress_(progress) {
    if (::isatty(STDERR_FILENO) == 1) watcher_ = std::thread([this] { Watch(); });
}

TerminalProgress::~TerminalProgress() {
    if (!watcher_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        done_ = true;
    }
    wake_.notify_one();
    watcher_.join();
    std::fputs("\r\033[K", stderr);
}

void TerminalProgress::Watch() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!wake_.wait_for(guard, kInterval, [this] { return done_; })) {
        const Progress::State s = progress_.Read();
        if (s.Stage.empty()) continue;
        const std::string line =
            s.Total > 0 ? text::Format("%s: %d %%",
                                       {s.Stage, static_cast<int>(std::floor(s.Fraction() * 100))})
                        : s.Stage;
        std::fprintf(stderr, "\r\033[K%s", line.c_str());
        std::fflush(stderr);
    }
}

} // namespace vandra::cli
