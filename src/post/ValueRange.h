// The smallest and largest of a value over the recorded steps, with the steps they occur at.
#pragma once

namespace vandra {

struct TValueRange {
    double Min = 0, Max = 0;
    int MinStep = 0, MaxStep = 0; // from 1; 0 before any value
};

// Folds the value of step `step` in; the first step at which an extreme is reached is kept.
inline void Take(TValueRange& r, double v, int step) {
    if (r.MinStep == 0 || v < r.Min) {
        r.Min = v;
        r.MinStep = step;
    }
    if (r.MaxStep == 0 || v > r.Max) {
        r.Max = v;
        r.MaxStep = step;
    }
}

// The extreme of larger magnitude (the largest when both are as large): what an envelope draws
// where one value is shown.
inline double LargerExtreme(const TValueRange& r) {
    return -r.Min > r.Max ? r.Min : r.Max;
}

} // namespace vandra
