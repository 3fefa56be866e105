#include "post/SectionResults.h"

#include "model/NumberText.h"
#include "post/CsvText.h"
#include "post/RecorderText.h"

#include <array>
#include <filesystem>

namespace vandra {
namespace {

constexpr int kColumns = 8;

// The rest of the console line that starts at `at`, after `skip` characters.
std::string_view RestOfLine(std::string_view console, size_t at, size_t skip) {
    const size_t end = console.find_first_of("\r\n", at);
    return console.substr(at + skip,
                          (end == std::string_view::npos ? console.size() : end) - at - skip);
}

std::string Judge(const MomentCurvaturePlan& plan, std::string_view console) {
    if (console.find(kSectionRunAxialFailed) != std::string_view::npos)
        return "the solver did not converge under the axial load " +
               text::FormatGeneral(plan.request.axial);
    if (const size_t at = console.find(kSectionRunStepFailed); at != std::string_view::npos)
        return "the solver did not converge at step" +
               std::string(RestOfLine(console, at, kSectionRunStepFailed.size())) +
               " (the curvature grows by " +
               text::FormatGeneral(plan.targetCurvature / plan.request.steps) + " a step)";
    if (console.find(kSectionRunDone) == std::string_view::npos)
        return "the solver stopped before the end of the script";
    return {};
}

} // namespace

MomentCurvatureCurve ReadMomentCurvature(const MomentCurvaturePlan& plan, const std::string& folder,
                                         std::string_view console) {
    MomentCurvatureCurve curve;
    const std::string path = recorder_text::PathOf(folder, kCurveFileName);
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        recorder_text::RecorderText text;
        text.load(path);
        std::string_view line;
        for (long long n = 1; text.next(line); ++n) {
            if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
            std::array<double, kColumns> v{};
            recorder_text::ParseLine(line, path, n, kColumns, v.data());
            // Deformations P, kappa z, kappa y, twist; forces P, Mz, My, T.
            curve.states.push_back({{v[0], v[2], v[1]}, {v[4], v[6], v[5]}});
        }
    }
    curve.failure = Judge(plan, console);
    if (plan.stopAtLimit) CutAtStrainLimit(plan.fibers, curve.states);
    if (!plan.elastic)
        curve.marks = CurveMarks(plan.fibers, plan.roles, plan.request.axis, curve.states);
    return curve;
}

std::string MomentCurvatureCsv(const MomentCurvaturePlan& plan, const MomentCurvatureCurve& curve) {
    std::vector<double> curvatures, moments;
    for (const SectionState& s : curve.states) {
        curvatures.push_back(CurvatureOf(s, plan.request.axis));
        moments.push_back(MomentOf(s, plan.request.axis));
    }
    const CsvColumn columns[] = {{"curvature", curvatures}, {"moment", moments}};
    return CsvText(columns);
}

std::string InteractionCsv(std::span<const InteractionDiagram> diagrams) {
    std::string out = "axis,P,My,Mz\n";
    for (const InteractionDiagram& d : diagrams) {
        for (const InteractionPoint& p : d.points) {
            out += d.axis == BendingAxis::Y ? "y," : "z,";
            text::AppendGeneral(out, p.force.P);
            out += ',';
            text::AppendGeneral(out, p.force.My);
            out += ',';
            text::AppendGeneral(out, p.force.Mz);
            out += '\n';
        }
    }
    return out;
}

std::string_view CurveMarkName(CurveMarkKind kind) {
    switch (kind) {
    case CurveMarkKind::FirstYield:
        return "first yield";
    case CurveMarkKind::PeakMoment:
        return "peak moment";
    case CurveMarkKind::CoverCrushing:
        return "cover crushing";
    case CurveMarkKind::CoreCrushing:
        return "core crushing";
    }
    return "";
}

} // namespace vandra
