#include "sections/SectionForces.h"

#include "model/Errors.h"
#include "model/NumberText.h"
#include "sections/MaterialResponse.h"

#include <algorithm>
#include <cmath>

namespace vandra {
namespace {

std::string FiberName(size_t k) {
    return "fiber " + text::FormatInt(static_cast<long long>(k) + 1);
}

} // namespace

AnalysisSection PrepareAnalysisSection(std::string_view name, std::span<const TFIBER> fibers,
                                       const TModel& model) {
    AnalysisSection s;
    s.name = name;
    const std::string where = "Frame section " + s.name;
    if (fibers.empty()) throw InputError(where + " has no fibers to analyse");

    const int matCount = std::min<int>(model.MatCount, static_cast<int>(model.Mats.size()) - 1);
    std::vector<int> slotOfMat(static_cast<size_t>(std::max(matCount, 0)) + 1, -1);
    double area = 0, firstY = 0, firstZ = 0;
    for (size_t k = 0; k < fibers.size(); ++k) {
        const TFIBER& f = fibers[k];
        if (!std::isfinite(f.FibY) || !std::isfinite(f.FibZ))
            throw InputError(where + ": " + FiberName(k) + " has a position that is not finite");
        if (!std::isfinite(f.FibArea) || !(f.FibArea > 0))
            throw InputError(where + ": " + FiberName(k) + " has area " +
                             text::FormatGeneral(f.FibArea) +
                             "; every fiber needs a positive area");
        if (f.FibMat < 1 || f.FibMat > matCount)
            throw InputError(where + ": " + FiberName(k) + " refers to material " +
                             text::FormatInt(f.FibMat) + ", which the model does not have");
        int& slot = slotOfMat[static_cast<size_t>(f.FibMat)];
        if (slot < 0) {
            const TMAT& mat = model.Mats[static_cast<size_t>(f.FibMat)];
            if (const std::string problem = AnalysisMaterialProblem(mat); !problem.empty())
                throw InputError(where + ": " + problem);
            slot = static_cast<int>(s.mats.size());
            s.mats.push_back(mat);
        }
        // Moments of area about the first fiber, which keeps far-off coordinates exact enough.
        if (k == 0) {
            firstY = f.FibY;
            firstZ = f.FibZ;
        }
        area += f.FibArea;
        s.centroidY += f.FibArea * (f.FibY - firstY);
        s.centroidZ += f.FibArea * (f.FibZ - firstZ);
        s.fibers.push_back({f.FibY, f.FibZ, f.FibArea, slot});
    }
    if (!std::isfinite(area) || !std::isfinite(s.centroidY) || !std::isfinite(s.centroidZ))
        throw InputError(where + ": the fibers' areas and positions overflow");
    s.centroidY = firstY + s.centroidY / area;
    s.centroidZ = firstZ + s.centroidZ / area;
    for (AnalysisFiber& f : s.fibers) {
        f.y -= s.centroidY;
        f.z -= s.centroidZ;
    }
    return s;
}

SectionForce IntegrateSection(const AnalysisSection& section, const StrainPlane& plane) {
    SectionForce force;
    for (const AnalysisFiber& f : section.fibers) {
        const double strain = plane.axial - f.y * plane.curvatureZ + f.z * plane.curvatureY;
        const double fiberForce =
            MonotonicStress(section.mats[static_cast<size_t>(f.mat)], strain) * f.area;
        force.P += fiberForce;
        force.My += fiberForce * f.z;
        force.Mz -= fiberForce * f.y;
    }
    return force;
}

double SquashLoad(const AnalysisSection& section) {
    std::vector<double> strength;
    for (const TMAT& mat : section.mats)
        strength.push_back(CompressiveStrength(mat));
    double load = 0;
    for (const AnalysisFiber& f : section.fibers)
        load += strength[static_cast<size_t>(f.mat)] * f.area;
    return load;
}

} // namespace vandra
