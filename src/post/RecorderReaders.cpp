#include "post/RecorderReaders.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/RecorderText.h"
#include "post/ResultTags.h"
#include "tcl/RecorderFiles.h"

#include <algorithm>
#include <string_view>

namespace vandra {
namespace {

using namespace recorder_text;
using recorder::RecorderFile;

constexpr int kNodeValues = 3; // X, Y, Z

std::vector<Block> NodeLayout(const TModel& model) {
    std::vector<Item> items;
    const int nodes = CountOf(model.NodeCount);
    items.reserve(static_cast<size_t>(nodes));
    for (int j = 1; j <= nodes; ++j)
        items.push_back(Item{JointNodeTag(model, j), j, kNodeValues});
    return LayOut(std::move(items), [](int tag) { return recorder::NodeFileBlock(tag); });
}

void CheckNodeTable(const TModel& model) {
    if (model.NodeCount > 0 && static_cast<long long>(model.Nodes.size()) <= model.NodeCount)
        throw InputError("The joint table holds fewer records than its count");
}

// Line `lineNo` of every node file named by nameOf(block).
template <typename NameOf>
TNodeField ReadNodeLine(const TModel& model, const std::string& folder, int lineNo, NameOf nameOf) {
    CheckNodeTable(model);
    const size_t size = static_cast<size_t>(CountOf(model.NodeCount)) + 1;
    TNodeField field;
    field.X.assign(size, 0.0);
    field.Y.assign(size, 0.0);
    field.Z.assign(size, 0.0);
    RecorderText text;
    std::vector<double> values;
    for (const Block& block : NodeLayout(model)) {
        text.load(PathOf(folder, nameOf(block.file)));
        values.resize(static_cast<size_t>(block.columns));
        ParseLine(text.lineAt(lineNo), text.path(), lineNo, block.columns, values.data());
        for (const Placed& item : block.items) {
            const auto j = static_cast<size_t>(item.index);
            field.X[j] = values[static_cast<size_t>(item.column)];
            field.Y[j] = values[static_cast<size_t>(item.column) + 1];
            field.Z[j] = values[static_cast<size_t>(item.column) + 2];
        }
    }
    return field;
}

void CheckStep(int step) {
    if (step < 1) throw InputError("Load Step must be 1 or more, not " + Num(step));
}

int FrameTypeOf(const TModel& model, int f) {
    const int sec = model.Frames[static_cast<size_t>(f)].SecIdx;
    if (sec < 1 || sec > model.SectionCount || static_cast<size_t>(sec) >= model.Sections.size())
        return 0;
    return model.Sections[static_cast<size_t>(sec)].FrameType;
}

// What end J of a frame is read from.
enum class EndJSource { None, SectionFirst, SectionLast, Hinge };

EndJSource EndJOf(int frameType, int numIntgrPts) {
    const int section = recorder::EndJSection(frameType, numIntgrPts);
    if (frameType == kBeamWithHinge) return EndJSource::Hinge;
    if (section == 1 && (frameType == kTruss || frameType == kCorotTruss))
        return EndJSource::SectionFirst;
    return EndJSource::SectionLast;
}

} // namespace

TNodeField ReadNodeStep(const TModel& model, const std::string& folder, int step) {
    CheckStep(step);
    return ReadNodeLine(model, folder, step, [](int block) {
        return recorder::FileName(RecorderFile::NodeDisplacement, block);
    });
}

TNodeField ReadNodeRotationStep(const TModel& model, const std::string& folder, int step) {
    CheckStep(step);
    return ReadNodeLine(model, folder, step, [](int block) {
        return recorder::FileName(RecorderFile::NodeRotation, block);
    });
}

TNodeField ReadModeShape(const TModel& model, const std::string& folder, int mode) {
    if (mode < 1) throw InputError("Mode Num must be 1 or more, not " + Num(mode));
    return ReadNodeLine(model, folder, 1, [mode](int block) {
        return recorder::FileName(RecorderFile::ModeShape, block, mode);
    });
}

TFrameEnds ReadSectionStep(const TModel& model, const TSettings& settings,
                           const std::string& folder, int step, int component) {
    CheckStep(step);
    if (component < kAxialStrain || component > kCurvatureY)
        throw InputError("The section deformation component must be 1, 2 or 3, not " +
                         Num(component));
    if (model.FrameCount > 0 && static_cast<long long>(model.Frames.size()) <= model.FrameCount)
        throw InputError("The frame table holds fewer records than its count");
    const int frames = CountOf(model.FrameCount);
    const int tagCount = ElementTagCount(model);
    const int intPts = settings.NumIntgrPts;
    const bool agg = settings.UseAggregator;
    const size_t size = static_cast<size_t>(frames) + 1;
    TFrameEnds ends;
    ends.I.assign(size, 0.0);
    ends.J.assign(size, 0.0);
    ends.HasI.assign(size, 0);
    ends.HasJ.assign(size, 0);

    std::vector<Item> first, last, hinge;
    std::vector<int> types(size, 0);
    for (int f = 1; f <= frames; ++f) {
        const int type = FrameTypeOf(model, f);
        const int tag = FrameElementTag(model, f);
        types[static_cast<size_t>(f)] = type;
        first.push_back(Item{tag, f, recorder::SectionDeformationCount(type, agg, 1, intPts)});
        last.push_back(Item{tag, f, recorder::SectionDeformationCount(type, agg, intPts, intPts)});
        if (type == kBeamWithHinge)
            hinge.push_back(Item{
                tag, f,
                recorder::SectionDeformationCount(type, agg, recorder::kHingeSections, intPts)});
    }
    const auto elementBlock = [tagCount](int tag) {
        return recorder::ElementFileBlock(tag, tagCount);
    };

    RecorderText text;
    std::vector<double> values;
    // Reads line `step` of each block file and hands every item's component to take(f, value).
    const auto read = [&](std::vector<Item> items, RecorderFile file, auto wanted, auto take) {
        for (const Block& block : LayOut(std::move(items), elementBlock)) {
            if (!std::any_of(block.items.begin(), block.items.end(), wanted)) continue;
            text.load(PathOf(folder, recorder::FileName(file, block.file)));
            values.resize(static_cast<size_t>(block.columns));
            ParseLine(text.lineAt(step), text.path(), step, block.columns, values.data());
            for (const Placed& item : block.items)
                if (wanted(item) && item.count >= component)
                    take(static_cast<size_t>(item.index),
                         values[static_cast<size_t>(item.column + component - 1)]);
        }
    };
    const auto always = [](const Placed&) { return true; };
    read(std::move(first), RecorderFile::SectionFirst, always, [&](size_t f, double v) {
        ends.I[f] = v;
        ends.HasI[f] = 1;
        if (EndJOf(types[f], intPts) == EndJSource::SectionFirst) {
            ends.J[f] = v;
            ends.HasJ[f] = 1;
        }
    });
    const auto fromLast = [&](const Placed& item) {
        return EndJOf(types[static_cast<size_t>(item.index)], intPts) == EndJSource::SectionLast &&
               item.count > 0;
    };
    const auto takeJ = [&](size_t f, double v) {
        ends.J[f] = v;
        ends.HasJ[f] = 1;
    };
    read(std::move(last), RecorderFile::SectionLast, fromLast, takeJ);
    read(std::move(hinge), RecorderFile::HingeEndJ, always, takeJ);

    for (size_t f = 1; f < size; ++f) {
        for (const auto& [has, value] :
             {std::pair{ends.HasI[f], ends.I[f]}, std::pair{ends.HasJ[f], ends.J[f]}}) {
            if (!has) continue;
            if (!ends.Any || value > ends.Max) ends.Max = value;
            if (!ends.Any || value < ends.Min) ends.Min = value;
            ends.Any = true;
        }
    }
    return ends;
}

TNodeHistory ReadNodeHistory(const TModel& model, const std::string& folder, int steps) {
    if (steps < 0) throw InputError("Nstep must be 0 or more, not " + Num(steps));
    CheckNodeTable(model);
    TNodeHistory history;
    history.Stride = static_cast<size_t>(CountOf(model.NodeCount)) + 1;
    RecorderText text;
    std::vector<double> values;
    bool first = true;
    for (const Block& block : NodeLayout(model)) {
        text.load(PathOf(folder, recorder::FileName(RecorderFile::NodeDisplacement, block.file)));
        if (first) {
            if (steps == 0) steps = text.lineCount();
            const size_t total = static_cast<size_t>(steps) * history.Stride;
            history.Time.assign(static_cast<size_t>(steps), 0.0);
            history.X.assign(total, 0.0);
            history.Y.assign(total, 0.0);
            history.Z.assign(total, 0.0);
        }
        values.resize(static_cast<size_t>(block.columns));
        std::string_view line;
        for (int k = 1; k <= steps; ++k) {
            if (!text.next(line))
                throw InputError(text.path() + ", line " + Num(k) + ": the file ends after line " +
                                 Num(k - 1) + "; " + Num(steps) + " steps were asked for");
            ParseLine(line, text.path(), k, block.columns, values.data());
            const size_t base = static_cast<size_t>(k - 1) * history.Stride;
            if (first) history.Time[static_cast<size_t>(k - 1)] = values[0];
            for (const Placed& item : block.items) {
                const size_t at = base + static_cast<size_t>(item.index);
                const double* v = values.data() + item.column;
                history.X[at] = v[0];
                history.Y[at] = v[1];
                history.Z[at] = v[2];
            }
        }
        first = false;
    }
    history.Steps = steps;
    return history;
}

TJointHistory ReadJointHistory(const TModel& model, const std::string& folder, int joint) {
    CheckNodeTable(model);
    if (joint < 1 || joint > CountOf(model.NodeCount))
        throw InputError("Joint " + Num(joint) + " is not in the model (joints 1 to " +
                         Num(CountOf(model.NodeCount)) + ")");
    const int tag = JointNodeTag(model, joint);
    for (const Block& block : NodeLayout(model)) {
        const auto item = std::find_if(block.items.begin(), block.items.end(),
                                       [joint](const Placed& p) { return p.index == joint; });
        if (item == block.items.end()) continue;
        RecorderText text;
        text.load(PathOf(folder, recorder::FileName(RecorderFile::NodeDisplacement,
                                                    recorder::NodeFileBlock(tag))));
        TJointHistory history;
        std::vector<double> values(static_cast<size_t>(block.columns));
        std::string_view line;
        for (long long k = 1; text.next(line); ++k) {
            ParseLine(line, text.path(), k, block.columns, values.data());
            history.Time.push_back(values[0]);
            history.X.push_back(values[static_cast<size_t>(item->column)]);
            history.Y.push_back(values[static_cast<size_t>(item->column) + 1]);
            history.Z.push_back(values[static_cast<size_t>(item->column) + 2]);
        }
        return history;
    }
    return TJointHistory();
}

} // namespace vandra
