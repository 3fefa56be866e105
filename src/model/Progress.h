// Progress of long work (reading a model, generating the script, reading results, writing a movie)
// and the user's wish to stop it. The work runs on one thread (or two: the import reads its loads
// beside its elements) and counts what it has done; a watcher on another thread (the window's
// progress bar, the command line's progress line) reads how far it got and may cancel it.
//
// Cancelling is cooperative: the work's next Add throws Cancelled. Work that replaces something
// only at its end (parse, then commit) thus leaves the previous state as it was.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

namespace vandra {

// Thrown by work that was cancelled; what it had made is dropped.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Cancelled"; }
};

class Progress {
public:
    // Starts a stage of the work: what it does ("Reading the model") and how many units it counts.
    // A total of 0 leaves the amount unknown.
    void Start(std::string stage, int64_t total);
    // Counts `units` more units done. Any thread may count. Throws Cancelled once Cancel() was
    // called.
    void Add(int64_t units);
    // Throws Cancelled once Cancel() was called.
    void Check() const;

    // From the watcher.
    void Cancel() noexcept { cancelled_.store(true, std::memory_order_relaxed); }
    bool IsCancelled() const noexcept { return cancelled_.load(std::memory_order_relaxed); }
    struct State {
        std::string Stage;
        int64_t Done = 0, Total = 0;
        // Done as a share of Total, 0..1; 0 when the total is unknown.
        double Fraction() const;
    };
    State Read() const;

private:
    mutable std::mutex stageLock_;
    std::string stage_;
    std::atomic<int64_t> done_{0}, total_{0};
    std::atomic<bool> cancelled_{false};
};

// The calls for work that may run without a watcher (progress null).
inline void StartProgress(Progress* progress, std::string stage, int64_t total) {
    if (progress != nullptr) progress->Start(std::move(stage), total);
}
inline void AddProgress(Progress* progress, int64_t units) {
    if (progress != nullptr) progress->Add(units);
}

// The progress of the work this thread does now, for readers deep inside it that take no Progress
// of their own (every recorder file read counts one and stops there once cancelled). Whoever runs
// the work sets it for the work's duration; scopes nest.
class ProgressScope {
public:
    explicit ProgressScope(Progress* progress);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    Progress* outer_;
};

// The progress of the innermost ProgressScope of this thread, or null.
Progress* ThreadProgress() noexcept;

} // namespace vandra
