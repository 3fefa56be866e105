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
        std::string line = s.Stage;
        if (s.Total > 0)
            line += text::Format(": %d %%", {static_cast<int>(std::floor(s.Fraction() * 100))});
        else if (s.Done > 0)
            line += ": " + text::FormatInt(s.Done);
        std::fprintf(stderr, "\r\033[K%s", line.c_str());
        std::fflush(stderr);
    }
}

ResultReadProgress::ResultReadProgress() : scope_(&progress_), shown_(progress_) {
    progress_.Start("Reading the result files", 0);
}

} // namespace vandra::cli
