// The animation's step counter: which history step each timer tick draws.
#pragma once

namespace vandra {

// The animation's values: the steps asked for, its displacement scale and the step drawn last.
struct TAnimation {
    int Nstep = 100;
    double AnimScale = 0;
    int AnimFrame = 0;
};

// The last history step the animation shows: 99, or fewer when fewer steps were loaded.
inline constexpr int kLastAnimationStep = 99;

// The step after `frame` when `loadedSteps` steps are loaded: frame + 1, back to 1 after
// min(loadedSteps, 99). 0 when nothing is loaded (nothing to draw).
inline int NextAnimationStep(int frame, int loadedSteps) {
    const int last = loadedSteps < kLastAnimationStep ? loadedSteps : kLastAnimationStep;
    if (last < 1) return 0;
    const int next = frame + 1;
    return next > last || next < 1 ? 1 : next;
}

} // namespace vandra
