#include "import/S2kImport.h"

#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/InputFile.h"
#include "model/LargeMemory.h"

#include <algorithm>
#include <future>
#include <iterator>

namespace vandra {

S2kText SplitS2kLines(std::string_view text) {
    return S2kText(std::string(text));
}

S2kText ReadS2kFile(const std::string& path) {
    InputFile file = OpenInputFile(path);
    if (!file.Kind().empty())
        throw InputError("\"" + path + "\" is " + std::string(file.Kind()) + ", not a model file");
    if (!file.IsOpen()) throw InputError("Cannot open file \"" + path + "\"");
    std::string text;
    text.reserve(static_cast<size_t>(file.Size()) + 1);
    AdviseHugePages(text.data(), text.capacity());
    if (!file.ReadAll(text)) throw InputError("Cannot read file \"" + path + "\"");
    return S2kText(std::move(text));
}

namespace {

// LOAD sections of at least this many lines are read beside the elements.
constexpr int kSharedReadingLoadLines = 20000;

// Frames, shells, solids, then loads. The loads need only the joint and frame counts: a large LOAD
// section is read on a second thread into a model of its own while this thread reads the elements,
// and its loads and warnings then join the model, the warnings after the elements' as when read
// one after the other. An element's error is the one reported when both sections have one.
void ReadElementsAndLoads(const S2kInput& in, TModel& model) {
    if (in.Sections.Of(kLoadKeyword).LineCount() < kSharedReadingLoadLines) {
        ReadFrames(in, model);
        ReadShells(in, model);
        ReadSolids(in, model);
        ReadLoads(in, model);
        return;
    }
    TModel loads;
    loads.NodeCount = model.NodeCount;
    loads.FrameCount = in.Sections.Of(kFrameKeyword).LineCount();
    std::future<void> helper = std::async(std::launch::async, [&] { ReadLoads(in, loads); });
    try {
        ReadFrames(in, model);
        ReadShells(in, model);
        ReadSolids(in, model);
    } catch (...) {
        helper.wait();
        throw;
    }
    helper.get();
    model.Loads = std::move(loads.Loads);
    model.LoadCaseNames = std::move(loads.LoadCaseNames);
    model.LoadCaseCount = loads.LoadCaseCount;
    model.LoadCount = loads.LoadCount;
    model.Warnings.insert(model.Warnings.end(), std::make_move_iterator(loads.Warnings.begin()),
                          std::make_move_iterator(loads.Warnings.end()));
}

} // namespace

TModel ImportS2k(const S2kText& S2kLines, const std::string& fileName, Progress* progress) {
    StartProgress(progress, "Importing the model", 11);
    TModel model;
    const S2kInput in{S2kLines, IndexSections(S2kLines, fileName, model.Warnings), fileName};
    if (!in.Sections.AnyFound())
        throw InputError((fileName.empty() ? std::string() : "\"" + fileName + "\": ") +
                         "no SAP2000 version 6 section found");
    AddProgress(progress, 1);
    ReadSystem(S2kLines, fileName, model);
    AddProgress(progress, 1);
    ReadJoints(in, model);
    AddProgress(progress, 1);
    ReadConstraints(in, model);
    AddProgress(progress, 1);
    ReadRestraints(in, model);
    AddProgress(progress, 1);
    ReadMasses(in, model);
    AddProgress(progress, 1);
    ReadMaterials(in, model);
    AddProgress(progress, 1);
    ReadFrameSections(in, model);
    AddProgress(progress, 1);
    ReadShellSections(in, model);
    AddProgress(progress, 1);
    ReadElementsAndLoads(in, model);
    AddProgress(progress, 1);
    LinkRigidBeams(model);
    AddProgress(progress, 1);
    return model;
}

StatusCounts CountsOf(const TModel& model) {
    StatusCounts c;
    c.Node = CountOf(model.NodeCount);
    c.Frame = CountOf(model.FrameCount);
    c.Shell = CountOf(model.ShellCount1);
    c.Solid = CountOf(model.SolidCount);
    c.Mat = CountOf(model.MatCount);
    c.Fsec = CountOf(model.SectionCount);
    c.Wsec = CountOf(model.AreaSecCount);
    return c;
}

} // namespace vandra
