#include "tcl/MomentCurvatureScript.h"

#include "model/Errors.h"
#include "model/NumberText.h"
#include "sections/MaterialResponse.h"
#include "sections/ScriptSection.h"
#include "sections/SectionProperties.h"
#include "tcl/ScriptWriters.h"
#include "tcl/TagPlan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace vandra {
namespace {

using script::Line;

constexpr int kMaxSteps = 100000;
// The axial load goes on in this many equal steps before the curvature moves.
constexpr int kAxialSteps = 10;
// Each curvature step that does not converge is tried again in this many smaller ones.
constexpr int kRetrySubsteps = 10;
// The iterations' last change of the deformations, relative to the strain or curvature of a step.
constexpr double kTolerancePerStep = 1e-8;

// The solver's node, element and patterns of the run: the script holds nothing else.
constexpr int kFixedNode = 1, kMovingNode = 2, kElement = 1;
constexpr int kAxialPattern = 1, kBendingPattern = 2;

// A number written whole (15 significant digits at most), so that the solver is asked for exactly
// the load and curvature given.
std::string Whole(double v) {
    return text::FormatEAtLeast(v, 4);
}

// The dof of node 2 that the curvature about the axis moves: rotation about y (5) or z (6).
int BendingDof(BendingAxis axis) {
    return axis == BendingAxis::Y ? 5 : 6;
}

std::string Where(const TSECTION& sec) {
    return "Frame section " + sec.Name;
}

// An elastic frame section as its elements see it: E of its material, A and both I of its shape.
void WriteElasticSection(const TModel& model, int s, const TScriptSection& derived, int tag,
                         ScriptLineList& lines) {
    const TSECTION& sec = model.Sections[static_cast<size_t>(s)];
    const double e = script::At(model.Mats, sec.MatIdx).E;
    const TSectionProps& p = derived.Props;
    // The element writer's Iy is I33 and its Iz is I22; the section takes Iz before Iy.
    Line(lines, "section Elastic %D %0.4E %0.4E %0.4E %0.4E %0.4E %0.4E",
         {tag, e, p.Area, p.I22, p.I33, derived.G, p.TorsJ});
}

// "proc PastLimit": whether the section's state takes a fiber past its strain range. With a
// positive curvature the fiber of a material that is most compressed is the one with the
// smallest u (its strain is axial + curvature u), the most stretched the one with the largest.
void WriteLimitCheck(const AnalysisSection& section, BendingAxis axis, ScriptLineList& lines) {
    std::string bounds;
    for (size_t m = 0; m < section.mats.size(); ++m) {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (const AnalysisFiber& f : section.fibers) {
            if (f.mat != static_cast<int>(m)) continue;
            const double u = axis == BendingAxis::Y ? f.z : -f.y;
            low = std::min(low, u);
            high = std::max(high, u);
        }
        if (high < low) continue;
        const StrainRange range = AnalysisStrainRange(section.mats[m]);
        bounds += " " + Whole(low) + " " + Whole(range.compression);
        if (std::isfinite(range.tension)) bounds += " " + Whole(high) + " " + Whole(range.tension);
    }
    Line(lines, "proc PastLimit {} {");
    Line(lines, "    set d [eleResponse %d section deformation]", {kElement});
    // The deformations are P, kappa z, kappa y, twist.
    Line(lines, "    set k [lindex $d %d]", {axis == BendingAxis::Y ? 2 : 1});
    Line(lines, "    foreach {u bound} {%s} {", {bounds.substr(1)});
    Line(lines, "        set e [expr {[lindex $d 0] + $k * $u}]");
    Line(lines, "        if {($bound < 0 && $e < $bound) || ($bound > 0 && $e > $bound)} {");
    Line(lines, "            return 1");
    Line(lines, "        }");
    Line(lines, "    }");
    Line(lines, "    return 0");
    Line(lines, "}");
}

// The zero-length section element, its axial load and the push of its curvature, each converged
// state written to the curve file.
void WriteRun(const MomentCurvaturePlan& plan, int sectionTag, double size, ScriptLineList& lines) {
    const MomentCurvatureRequest& r = plan.request;
    const int dof = BendingDof(r.axis);
    const double step = plan.targetCurvature / r.steps;
    const int steps = plan.stopAtLimit ? kLimitOvershoot * r.steps : r.steps;
    const std::string tolerance = Whole(kTolerancePerStep * step * std::max(size, 1.0));
    const std::string fixes = r.axis == BendingAxis::Y ? "0 1" : "1 0";
    Line(lines, "node %d 0 0 0", {kFixedNode});
    Line(lines, "node %d 0 0 0", {kMovingNode});
    Line(lines, "fix %d 1 1 1 1 1 1", {kFixedNode});
    // The axial strain and the one curvature move; shear, twist and the other curvature do not.
    Line(lines, "fix %d 0 1 1 1 %s", {kMovingNode, fixes});
    Line(lines, "element zeroLengthSection %d %d %d %D -orient 1 0 0 0 1 0",
         {kElement, kFixedNode, kMovingNode, sectionTag});
    Line(lines, "set curve [open %s w]", {kCurveFileName});
    Line(lines, "proc RecordState {} {");
    Line(lines, "    global curve");
    Line(lines,
         "    puts $curve \"[eleResponse %d section deformation] [eleResponse %d section "
         "force]\"",
         {kElement, kElement});
    Line(lines, "}");
    Line(lines, "pattern Plain %d Linear {", {kAxialPattern});
    Line(lines, "    load %d %s 0 0 0 0 0", {kMovingNode, Whole(r.axial)});
    Line(lines, "}");
    Line(lines, "constraints Plain");
    Line(lines, "numberer Plain");
    Line(lines, "system BandGeneral");
    Line(lines, "test NormDispIncr %s 50 0", {tolerance});
    Line(lines, "algorithm Newton");
    Line(lines, "integrator LoadControl %s", {Whole(1.0 / kAxialSteps)});
    Line(lines, "analysis Static");
    Line(lines, "if {[analyze %d] != 0} {", {kAxialSteps});
    Line(lines, "    puts \"%s\"", {kSectionRunAxialFailed});
    Line(lines, "} else {");
    Line(lines, "    RecordState");
    Line(lines, "    loadConst -time 0.0");
    Line(lines, "    pattern Plain %d Linear {", {kBendingPattern});
    Line(lines, "        load %d 0 0 0 0 %s", {kMovingNode, dof == 5 ? "1 0" : "0 1"});
    Line(lines, "    }");
    Line(lines, "    set step %s", {Whole(step)});
    Line(lines, "    integrator DisplacementControl %d %d $step", {kMovingNode, dof});
    Line(lines, "    for {set k 1} {$k <= %d} {incr k} {", {steps});
    Line(lines, "        if {[analyze 1] != 0} {");
    Line(lines, "            integrator DisplacementControl %d %d [expr {$step / %d}]",
         {kMovingNode, dof, kRetrySubsteps});
    Line(lines, "            algorithm NewtonLineSearch");
    Line(lines, "            set failed [analyze %d]", {kRetrySubsteps});
    Line(lines, "            algorithm Newton");
    Line(lines, "            integrator DisplacementControl %d %d $step", {kMovingNode, dof});
    Line(lines, "            if {$failed != 0} {");
    Line(lines, "                puts \"%s $k of %d\"", {kSectionRunStepFailed, steps});
    Line(lines, "                break");
    Line(lines, "            }");
    Line(lines, "        }");
    Line(lines, "        RecordState");
    if (plan.stopAtLimit) Line(lines, "        if {[PastLimit]} break");
    Line(lines, "    }");
    Line(lines, "}");
    Line(lines, "close $curve");
    Line(lines, "puts \"%s\"", {kSectionRunDone});
}

void CheckTarget(const TSECTION& sec, const std::optional<double>& target) {
    if (target && !(std::isfinite(*target) && *target > 0))
        throw InputError(Where(sec) +
                         ": the curvature to reach must be a positive finite number, "
                         "not " +
                         text::FormatGeneral(*target));
}

} // namespace

double ElasticBendingStiffness(const TModel& model, int s, BendingAxis axis) {
    const TSECTION& sec = model.Sections[static_cast<size_t>(s)];
    const TSectionProps p = SectionPropertiesOf(sec);
    return script::At(model.Mats, sec.MatIdx).E * (axis == BendingAxis::Y ? p.I33 : p.I22);
}

MomentCurvaturePlan PlanMomentCurvature(const TModel& model, const TSettings& settings,
                                        const MomentCurvatureRequest& request) {
    const int s = request.section;
    if (s < 1 || s > CountOf(model.SectionCount) || static_cast<size_t>(s) >= model.Sections.size())
        throw UsageError("there is no frame section " + text::FormatInt(s));
    if (request.steps < 1 || request.steps > kMaxSteps)
        throw UsageError("a moment-curvature run takes 1 to 100000 steps");
    const TSECTION& sec = model.Sections[static_cast<size_t>(s)];
    CheckTarget(sec, request.maxCurvature);

    MomentCurvaturePlan plan;
    plan.request = request;
    plan.name = sec.Name;
    std::vector<TScriptSection> sections(static_cast<size_t>(s) + 1);
    TScriptSection& derived = sections[static_cast<size_t>(s)];
    derived = ScriptSectionOf(model, s, settings.RebarMat);
    double size = 0; // the depth along the bending direction, for the tolerance
    if (HasElasticSection(sec.FrameType)) {
        const TSectionProps& p = derived.Props;
        const double e = script::At(model.Mats, sec.MatIdx).E;
        plan.elastic = true;
        plan.elasticStiffness = ElasticBendingStiffness(model, s, request.axis);
        if (!(e * p.Area > 0) || !(plan.elasticStiffness > 0) ||
            !std::isfinite(plan.elasticStiffness))
            throw InputError(Where(sec) + " is elastic with E A " +
                             text::FormatGeneral(e * p.Area) + " and E I " +
                             text::FormatGeneral(plan.elasticStiffness) +
                             " about the axis; both must be positive");
        if (!request.maxCurvature)
            throw InputError(Where(sec) + " is elastic, so its curvature has no limit: give the "
                                          "curvature to reach");
        plan.targetCurvature = *request.maxCurvature;
        size = std::sqrt(p.Area);
    } else {
        plan.fibers = AnalysisSectionOf(model, s, derived.Fibers);
        plan.roles = FiberRolesOf(sec, derived.Fibers, model);
        const auto steel = [](FiberRole role) { return role == FiberRole::Steel; };
        if (!std::all_of(plan.roles.begin(), plan.roles.end(), steel) &&
            std::none_of(plan.roles.begin(), plan.roles.end(), steel))
            throw InputError(Where(sec) + " has no bars: concrete alone cracks at once, so it "
                                          "has no moment-curvature curve; give it bars");
        const double limit = LimitCurvature(plan.fibers, request.axis, request.axial);
        plan.targetCurvature = request.maxCurvature.value_or(limit);
        plan.stopAtLimit = !request.maxCurvature;
        double low = 0, high = 0;
        for (const AnalysisFiber& f : plan.fibers.fibers) {
            const double u = request.axis == BendingAxis::Y ? f.z : f.y;
            low = std::min(low, u);
            high = std::max(high, u);
        }
        size = high - low;
    }

    const TagPlan tags(model, settings);
    const ScriptContext context{model, settings, tags, sections, nullptr};
    ScriptLineList& lines = plan.script;
    Line(lines, "wipe");
    Line(lines, "model basic -ndm 3 -ndf 6");
    if (plan.elastic) {
        WriteElasticSection(model, s, derived, tags.FiberSectionTag(s), lines);
    } else {
        std::set<int> mats;
        for (const TFIBER& f : derived.Fibers)
            mats.insert(f.FibMat);
        for (int m : mats)
            WriteMaterial(context, m, lines);
        WriteFiberSection(context, s, lines);
    }
    if (plan.stopAtLimit) WriteLimitCheck(plan.fibers, request.axis, lines);
    WriteRun(plan, tags.FiberSectionTag(s), size, lines);
    return plan;
}

} // namespace vandra
