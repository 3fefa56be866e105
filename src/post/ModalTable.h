// Periods and participating masses of a modal analysis: computed from VANDRA's joint masses and
// the recorded mode shapes with the eigenvalues ("Periods.txt"), or read from the solver's own
// report ("ModalProperties.txt", modalProperties -file). Modal.md gives the definitions; they
// are the solver's, so the two tables agree to the digits the mode shape files carry.
#pragma once

#include "model/Model.h"
#include "post/FrameGeometry.h"
#include "post/ResultFields.h"

#include <array>
#include <string>
#include <vector>

namespace vandra {

// The directions of the participating masses: translations along and rotations about X, Y, Z.
enum ModalDirection : int { kUX = 0, kUY, kUZ, kRX, kRY, kRZ };
inline constexpr int kModalDirections = 6;
using TModalValues = std::array<double, kModalDirections>;

struct TModeRow {
    int Mode = 0;
    double Eigenvalue = 0;     // omega^2
    double Period = 0;         // 2 pi / omega
    double Frequency = 0;      // omega / 2 pi
    TModalValues Ratio{};      // participating mass / total free mass, per direction (0..1)
    TModalValues Cumulative{}; // the sums of Ratio over modes 1..Mode
};

struct TModalTable {
    std::vector<TModeRow> Modes;
    // The ratios, free masses and centre are known (from the mode shapes or the solver's report);
    // without them a row holds its eigenvalue, period and frequency only.
    bool MassRatios = false;
    TModalValues FreeMass{}; // the masses (X, Y, Z) and mass moments (about X, Y, Z) at free dof
    Vec3 Centre{};           // the centre the rotations are taken about
};

// The eigenvalues in "Periods.txt" of a results folder, mode 1 first.
std::vector<double> ReadEigenvalues(const std::string& folder);

// The table from the joints' masses, the eigenvalues and the mode shapes (translations of every
// joint, one field per mode, mode 1 first; as many as eigenvalues). InputError for a rotational
// mass at a free dof (the mode shape files carry no rotations) or an eigenvalue that is not
// positive.
TModalTable ComputeModalTable(const TModel& model, const std::vector<double>& eigenvalues,
                              const std::vector<TNodeField>& shapes);

// Reads "Periods.txt" and the mode shape files of the first `modes` modes, then computes.
TModalTable ReadModalTable(const TModel& model, const std::string& folder, int modes);
// The same for eigenvalues already read: the mode shape files of as many modes.
TModalTable ReadModalTable(const TModel& model, const std::string& folder,
                           const std::vector<double>& eigenvalues);

// The solver's report "ModalProperties.txt" of a results folder.
TModalTable ReadModalReport(const std::string& folder);

// The periods and frequencies of the eigenvalues alone (no mass ratios).
TModalTable PeriodTable(const std::vector<double>& eigenvalues);

} // namespace vandra
