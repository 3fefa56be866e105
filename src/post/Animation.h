// The stepping of an animation, shared by the window's animation and the movie export: which
// displacements frame k of a cycle shows, and how the frames follow each other.
#pragma once

namespace vandra {

// What an animation moves: every step of the displacement history, one a frame, or the loaded
// mode shape swinging through one period.
enum class AnimationMotion { History, ModeShape };

inline constexpr double kDefaultStepsPerSecond = 30;
// The frames of one period of a mode shape in the window: one second at the default speed.
inline constexpr int kModeShapeFrames = 30;

// The window's animation: what it moves, how fast, at which scale, and the frame shown.
struct TAnimation {
    AnimationMotion Motion = AnimationMotion::History;
    double StepsPerSecond = kDefaultStepsPerSecond;
    double AnimScale = 0;
    int Frame = 0;  // 0 .. Frames - 1
    int Frames = 0; // of one cycle; 0 when nothing is loaded to move
};

// What frame k (0..count - 1) of a cycle shows: history step Step (from 1) at the full scale, or
// the mode shape at Factor times the scale.
struct TAnimationFrame {
    int Step = 0;      // the history step; 0 for a mode shape
    double Factor = 1; // sin(2 pi k / count) for a mode shape
};

// The frames of one cycle: the history's steps, or `modeFrames` for one period of a mode shape.
int AnimationFrameCount(AnimationMotion motion, int historySteps, int modeFrames);

TAnimationFrame AnimationFrameAt(AnimationMotion motion, int k, int count);

// The frame `delta` frames after k (before, for a negative delta), wrapping within 0..count - 1;
// 0 when count is 0.
int StepAnimation(int k, int delta, int count);

// The timer interval in milliseconds that shows stepsPerSecond frames a second (at least 1).
int AnimationInterval(double stepsPerSecond);

} // namespace vandra
