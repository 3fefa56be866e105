#include "post/ResultLoading.h"

#include "model/Errors.h"
#include "model/NumberText.h"
#include "post/Envelopes.h"
#include "post/ModalTable.h"
#include "post/RecorderReaders.h"
#include "post/RecorderText.h"
#include "tcl/RecorderFiles.h"

#include <filesystem>
#include <utility>

namespace vandra {
namespace {

using recorder::RecorderFile;

constexpr size_t kRecModeShape = 5; // TSettings::RecOpt[5]

std::string StepText(int step) {
    return text::FormatInt(step);
}

} // namespace

void LoadFrameForces(TResults& results, const TModel& model, const TSettings& settings,
                     const std::string& folder, int step) {
    TForceResults forces;
    forces.Loads = TFrameLoads(model, settings);
    if (step == kEnvelopeStep) {
        forces.Envelope = ReadFrameForceEnvelope(model, settings, folder);
    } else {
        forces.AtStep = ReadFrameForces(model, settings, folder, step);
        forces.Shapes = ShapeDiagrams(model, forces.Loads, forces.AtStep);
    }
    forces.Step = step;
    results.Forces = std::move(forces);
}

void LoadReactions(TResults& results, const TModel& model, const TSettings& settings,
                   const std::string& folder, int step) {
    TReactionHistory reactions = ReadReactions(model, settings, folder);
    if (step != kEnvelopeStep && (step < 1 || step > reactions.Steps))
        throw InputError("Load Step " + StepText(step) + " was not recorded: the reaction files hold " +
                         StepText(reactions.Steps) + " steps");
    results.Reactions = std::move(reactions);
    results.ReactionStep = step;
}

void LoadModalTable(TResults& results, const TModel& model, const TSettings& settings,
                    const std::string& folder) {
    TModalTable table;
    if (settings.RecOpt[kRecModeShape])
        table = ReadModalTable(model, folder, ReadEigenvalues(folder));
    else if (settings.RecModalReport)
        table = ReadModalReport(folder);
    else
        table = PeriodTable(ReadEigenvalues(folder));
    results.Modal = std::move(table);
}

void LoadDrifts(TResults& results, const TModel& model, const std::string& folder) {
    TNodeHistory history = ReadNodeHistory(model, folder, 0);
    TDrifts drifts = ComputeDrifts(model, FindLevels(model), history);
    results.History = std::move(history);
    results.Drifts = std::move(drifts);
}

void LoadNodeEnvelope(TResults& results, const TModel& model, const std::string& folder) {
    TNodeHistory history = ReadNodeHistory(model, folder, 0);
    results.Disp = ExtremeField(EnvelopeOf(history));
    results.Rotations = TNodeField();
    results.DispStep = kEnvelopeStep;
    results.DispMode = 0;
    results.DispPeriod = 0;
    results.History = std::move(history);
}

void LoadStoreyShears(TResults& results, const TModel& model, const TSettings& settings,
                      const std::string& folder) {
    results.StoreyShears = ReadStoreyShearHistory(model, settings, FindLevels(model), folder);
}

void LoadNodeStep(TResults& results, const TModel& model, const TSettings& settings,
                  const std::string& folder, int step) {
    TNodeField disp = ReadNodeStep(model, folder, step);
    TNodeField rotations;
    if (settings.RecRotations) rotations = ReadNodeRotationStep(model, folder, step);
    results.Disp = std::move(disp);
    results.Rotations = std::move(rotations);
    results.DispStep = step;
    results.DispMode = 0;
    results.DispPeriod = 0;
}

void LoadModeShape(TResults& results, const TModel& model, const std::string& folder, int mode) {
    TNodeField shape = ReadModeShape(model, folder, mode);
    double period = 0;
    if (std::filesystem::exists(recorder_text::PathOf(folder, recorder::FileName(RecorderFile::Eigenvalues, 0)))) {
        const std::vector<double> eigenvalues = ReadEigenvalues(folder);
        const TModalTable periods = PeriodTable(eigenvalues);
        if (static_cast<size_t>(mode) <= periods.Modes.size())
            period = periods.Modes[static_cast<size_t>(mode) - 1].Period;
    }
    results.Disp = std::move(shape);
    results.Rotations = TNodeField();
    results.DispStep = 0;
    results.DispMode = mode;
    results.DispPeriod = period;
}

void LoadSectionStep(TResults& results, const TModel& model, const TSettings& settings,
                     const std::string& folder, int step, int component) {
    TakeSectionValues(results, ReadSectionStep(model, settings, folder, step, component));
    results.EndsComponent = component;
    results.EndsStep = step;
}

void UseResultsFolder(TResults& results, const std::string& folder) {
    if (results.Folder == folder) return;
    results = TResults();
    results.Folder = folder;
}

int LastRecordedStep(const TModel& model, const std::string& folder) {
    if (model.NodeCount < 1 ||
        !std::filesystem::exists(recorder_text::PathOf(folder, recorder::FileName(RecorderFile::NodeDisplacement, 0))))
        return 0;
    return static_cast<int>(ReadJointHistory(model, folder, 1).Time.size());
}

} // namespace vandra
