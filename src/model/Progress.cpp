#include "model/Progress.h"

#include <algorithm>

namespace vandra {
namespace {
thread_local Progress* threadProgress = nullptr;
} // namespace

ProgressScope::ProgressScope(Progress* progress) : outer_(threadProgress) {
    threadProgress = progress;
}

ProgressScope::~ProgressScope() {
    threadProgress = outer_;
}

Progress* ThreadProgress() noexcept {
    return threadProgress;
}

void Progress::Start(std::string stage, int64_t total) {
    Check();
    std::lock_guard<std::mutex> lock(stageLock_);
    stage_ = std::move(stage);
    done_.store(0, std::memory_order_relaxed);
    total_.store(std::max<int64_t>(total, 0), std::memory_order_relaxed);
}

void Progress::Add(int64_t units) {
    done_.fetch_add(units, std::memory_order_relaxed);
    Check();
}

void Progress::Check() const {
    if (IsCancelled()) throw Cancelled();
}

Progress::State Progress::Read() const {
    State s;
    {
        std::lock_guard<std::mutex> lock(stageLock_);
        s.Stage = stage_;
    }
    s.Total = total_.load(std::memory_order_relaxed);
    s.Done = done_.load(std::memory_order_relaxed);
    return s;
}

double Progress::State::Fraction() const {
    if (Total <= 0) return 0;
    return std::clamp(static_cast<double>(Done) / static_cast<double>(Total), 0.0, 1.0);
}

} // namespace vandra
