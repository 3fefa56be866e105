// The elastic response spectrum of a record: the peak response of linear single-degree-of-freedom
// oscillators to the ground acceleration, integrated exactly for an acceleration that is linear
// between the record's values (the recurrence of Nigam and Jennings).
#pragma once

#include "motion/Record.h"

namespace vandra::motion {

constexpr double kDefaultDamping = 0.05;
// The standard acceleration of gravity, m/s^2: spectral displacements are given in metres.
constexpr double kStandardGravity = 9.80665;

struct SpectralPeak {
    double period = 0; // s
    double sa = 0;     // pseudo-spectral acceleration, g: (2 pi / T)^2 Sd
    double sd = 0;     // peak relative displacement, m
};

// The peak response of the oscillator of the given period (s) and damping ratio (0 <= damping
// < 1). The record is taken as followed by zeros (the acceleration returns to zero over one step,
// then the ground is still), and the oscillator's free vibration after it is counted. At period 0
// Sa is the peak ground acceleration. InputError for a negative or non-finite period or a damping
// ratio outside 0..1.
SpectralPeak PeakResponse(const Record& record, double period, double damping = kDefaultDamping);

} // namespace vandra::motion
