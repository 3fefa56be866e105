// The forces of a fiber section under a plane strain state, integrated as the solver's 3D fiber
// section does it: moments about the area centroid of the fibers, My = sum(stress A (z - zc)),
// Mz = -sum(stress A (y - yc)), axial force positive in tension. SectionAnalysis.md has the whole
// convention.
#pragma once

#include "model/Model.h"
#include "sections/Fibers.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

struct AnalysisFiber {
    double y = 0, z = 0; // from the area centroid of the section
    double area = 0;
    int mat = 0; // index into AnalysisSection::mats
};

// A fiber section checked and ready for the analysis.
struct AnalysisSection {
    std::string name;
    double centroidY = 0, centroidZ = 0; // in the fiber coordinates
    std::vector<AnalysisFiber> fibers;
    std::vector<TMAT> mats; // the materials the fibers use, each once
};

// Checks the fibers (every fiber of the table, from the first: no unused element 0) whose FibMat
// are materials 1..MatCount of the model, and takes them relative to their area centroid. Raises
// InputError, "Frame section NAME ..." and what is wrong, for a table without fibers, a fiber
// whose position or area is not finite, whose area is not positive or whose material the model
// does not have, and for a material the analysis cannot use (AnalysisMaterialProblem).
AnalysisSection PrepareAnalysisSection(std::string_view name, std::span<const TFIBER> fibers,
                                       const TModel& model);

// A plane strain state: the strain of the fiber at (y, z) from the centroid is
// axial - y curvatureZ + z curvatureY, the deformations P, kappa z, kappa y of the solver's
// section.
struct StrainPlane {
    double axial = 0, curvatureY = 0, curvatureZ = 0;
};

struct SectionForce {
    double P = 0, My = 0, Mz = 0;
};

// The forces of the section when every fiber followed its material monotonically from zero strain
// to the strain the plane gives it.
SectionForce IntegrateSection(const AnalysisSection& section, const StrainPlane& plane);

// The squash load: every fiber at its compressive strength (CompressiveStrength), summed; negative.
double SquashLoad(const AnalysisSection& section);

} // namespace vandra
