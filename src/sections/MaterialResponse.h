// The uniaxial laws as the section analysis sees them: the stress of a monotonic strain path from
// zero, the strain range a fiber may reach and the strength within that range. Stresses and
// strains are positive in tension, as the solver's materials give them. SectionAnalysis.md says
// why the limits are what they are.
#pragma once

#include "model/Model.h"

#include <string>

namespace vandra {

// The stress the solver's uniaxial material of mat gives after a monotonic strain path from zero
// to `strain`: Elastic E, Steel01 bilinear, Steel02 Menegotto-Pinto on its first loading,
// Concrete01 Kent-Scott-Park without tension, Concrete02 the same with linear tension softening.
// Concrete parameters count as negative whatever their sign, as the solver takes them. A MatType
// outside 1..5 gives 0 (AnalysisMaterialProblem refuses it first).
double MonotonicStress(const TMAT& mat, double strain);

// The strains a fiber may reach in the section analysis: steel ten times its yield strain Fy/E0
// either way, concrete its crushing strain epsU in compression and no limit in tension (tension
// is +infinity), where its stress is zero or ft.
struct StrainRange {
    double compression = 0; // negative
    double tension = 0;     // positive, possibly +infinity
};
StrainRange AnalysisStrainRange(const TMAT& mat);

// The most compressive stress of the law within its strain range (negative): fpc for concrete
// whose crushing strain lies beyond its peak, Fy plus the hardening up to the limit for steel.
double CompressiveStrength(const TMAT& mat);

// Why the section analysis cannot use mat, as "material NAME ..." (empty when it can): a law that
// is missing or elastic (no strength, so no diagram), a parameter of the law that is not finite or
// has the wrong sign.
std::string AnalysisMaterialProblem(const TMAT& mat);

} // namespace vandra
