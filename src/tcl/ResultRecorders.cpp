#include "tcl/ResultRecorders.h"

#include "tcl/RecorderFiles.h"
#include "tcl/ScriptWriters.h"

#include <algorithm>
#include <string>

namespace vandra {

using recorder::FileName;
using recorder::RecorderFile;
using script::At;
using script::Line;
using script::Slot;

namespace {

constexpr int kBlock = recorder::kBlockSize;

bool IsRestrained(const TModel& model, const TagPlan& tags, int joint) {
    const auto& r = model.Nodes[Slot(joint)].Restraint;
    const int dofs = tags.JointDofs(joint);
    return std::any_of(r.begin() + 1, r.begin() + 1 + dofs, [](int v) { return v != 0; });
}

// "-node A B C" lists, one per file block of the tags given in order.
template <typename Emit> void ForEachTagBlock(const std::vector<int>& tags, Emit emit) {
    size_t k = 0;
    while (k < tags.size()) {
        const int block = recorder::NodeFileBlock(tags[k]);
        std::string list;
        for (; k < tags.size() && recorder::NodeFileBlock(tags[k]) == block; ++k) {
            list += ' ';
            text::AppendInt(list, tags[k]);
        }
        emit(block, list);
    }
}

} // namespace

std::vector<ReactionNode> ReactionNodes(const TModel& model, const TagPlan& tags) {
    const int nodes = CountOf(model.NodeCount);
    std::vector<bool> support(Slot(nodes) + 1, false);
    for (int j = 1; j <= nodes; ++j)
        support[Slot(j)] = IsRestrained(model, tags, j);
    for (int d = 1; d <= CountOf(model.DiaphCount); ++d) {
        const int master = model.Diaphs[Slot(d)].Master;
        if (master >= 1 && master <= nodes) support[Slot(master)] = true;
    }
    std::vector<ReactionNode> list;
    for (int j = 1; j <= nodes; ++j)
        if (support[Slot(j)]) list.push_back({tags.JointNode(j), j});
    // The nodes the constraint plan ties to a support, or holds in its stead.
    for (const ConstraintPlan::Support& tied : tags.Constraints().TiedSupports())
        if (tied.Joint >= 1 && tied.Joint <= nodes) list.push_back({tied.Node, tied.Joint});
    std::sort(list.begin(), list.end(),
              [](const ReactionNode& a, const ReactionNode& b) { return a.Tag < b.Tag; });
    list.erase(std::unique(list.begin(), list.end(),
                           [](const ReactionNode& a, const ReactionNode& b) {
                               return a.Tag == b.Tag;
                           }),
               list.end());
    return list;
}

void WriteReactionRecorders(const TModel& model, const TagPlan& tags, ScriptLineList& lines) {
    std::vector<int> nodeTags;
    for (const ReactionNode& node : ReactionNodes(model, tags))
        nodeTags.push_back(node.Tag);
    ForEachTagBlock(nodeTags, [&](int block, const std::string& list) {
        Line(lines, "recorder Node -file %s -time -node%s -dof 1 2 3 4 5 6 reaction",
             {FileName(RecorderFile::NodeReaction, block), list});
    });
}

void WriteRotationRecorders(const TModel& model, const TagPlan& tags, ScriptLineList& lines) {
    const int nodes = CountOf(model.NodeCount);
    for (int first = 1; first <= nodes; first += kBlock) {
        const int last = std::min(nodes, first + kBlock - 1);
        Line(lines, "recorder Node -file %s -time -nodeRange %D %D -dof 4 5 6 disp",
             {FileName(RecorderFile::NodeRotation, recorder::NodeFileBlock(tags.JointNode(first))),
              tags.JointNode(first), tags.JointNode(last)});
    }
}

void WriteTrussAxialRecorders(const TModel& model, const TagPlan& tags, ScriptLineList& lines) {
    const int frames = CountOf(model.FrameCount);
    for (int first = 1; first <= frames; first += kBlock) {
        const int last = std::min(frames, first + kBlock - 1);
        std::string list;
        for (int f = first; f <= last; ++f) {
            if (At(model.Sections, model.Frames[Slot(f)].SecIdx).FrameType != kCorotTruss) continue;
            list += ' ';
            text::AppendInt(list, tags.FrameElement(f));
        }
        if (list.empty()) continue;
        const int block = recorder::ElementFileBlock(tags.FrameElement(first), frames);
        Line(lines, "recorder Element -file %s -time -ele%s axialForce",
             {FileName(RecorderFile::TrussAxialForce, block), list});
    }
}

void WriteModalReport(ScriptLineList& lines) {
    Line(lines, "modalProperties -file %s", {FileName(RecorderFile::ModalReport, 0)});
}

} // namespace vandra
