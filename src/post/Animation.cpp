#include "post/Animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vandra {

int AnimationFrameCount(AnimationMotion motion, int historySteps, int modeFrames) {
    return std::max(0, motion == AnimationMotion::History ? historySteps : modeFrames);
}

TAnimationFrame AnimationFrameAt(AnimationMotion motion, int k, int count) {
    if (motion == AnimationMotion::History) return {k + 1, 1};
    return {0, count > 0 ? std::sin(2 * std::numbers::pi * k / count) : 0};
}

int StepAnimation(int k, int delta, int count) {
    if (count <= 0) return 0;
    const int next = (k + delta) % count;
    return next < 0 ? next + count : next;
}

int AnimationInterval(double stepsPerSecond) {
    constexpr double kLongest = 60000; // a frame a minute
    if (!(stepsPerSecond > 0)) return static_cast<int>(kLongest);
    return static_cast<int>(std::lround(std::clamp(1000 / stepsPerSecond, 1.0, kLongest)));
}

} // namespace vandra
