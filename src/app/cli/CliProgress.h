// The progress line of long vandra-cli work on standard error. It is shown only when standard
// error is a terminal, so logs and pipes get nothing but the messages.
#pragma once

#include "model/Progress.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace vandra::cli {

// Watches progress from a thread of its own while it lives and rewrites one line of the terminal
// ("Writing the movie: 40 %") a few times a second; the line is cleared when it ends.
class TerminalProgress {
public:
    explicit TerminalProgress(const Progress& progress);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

private:
    void Watch();

    const Progress& progress_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread watcher_;
};

// While it lives, every recorder file this thread reads counts on a progress line of its own
// ("Reading the result files: 120").
class ResultReadProgress {
public:
    ResultReadProgress();

private:
    Progress progress_;
    ProgressScope scope_;
    TerminalProgress shown_;
};

} // namespace vandra::cli
