// Recorders of nodes and frame elements, in files of blocks of 100 tags that the result readers
// find by block number and place in the block.
#include "tcl/ScriptWriters.h"

namespace vandra {

using namespace script;

namespace {

constexpr int kBlock = 100;
constexpr int kModalAnalysis = 4;

enum RecorderOption : int {
    kRecNodeDisp = 1,
    kRecElementForce = 2,
    kRecSectionDeformation = 3,
    kRecModeShape = 5,
};

// Node blocks: file k (from 0) holds nodes 100k + 1 .. 100k + 100, the last one up to `count`.
void NodeBlocks(ScriptLineList& lines, const TagPlan& tags, int count, std::string_view tmpl) {
    const int full = count / kBlock, rest = count % kBlock;
    for (int k = 0; k < full; ++k)
        Line(lines, tmpl, {k, tags.JointNode(kBlock * k + 1), tags.JointNode(kBlock * k + kBlock)});
    if (rest != 0)
        Line(lines, tmpl,
             {full, tags.JointNode(kBlock * full + 1), tags.JointNode(kBlock * full + rest)});
}

// Element blocks: files 1..n hold the full blocks, file 0 the partial last block (when there is
// one). A range is never written reversed.
void ElementBlocks(ScriptLineList& lines, const TagPlan& tags, int count, std::string_view tmpl) {
    const int full = count / kBlock, rest = count % kBlock;
    for (int k = 1; k <= full; ++k)
        Line(lines, tmpl,
             {k, tags.FrameElement(kBlock * (k - 1) + 1), tags.FrameElement(kBlock * k)});
    if (rest != 0)
        Line(lines, tmpl,
             {0, tags.FrameElement(kBlock * full + 1), tags.FrameElement(kBlock * full + rest)});
}

void LastSectionBlocks(ScriptLineList& lines, const TagPlan& tags, int count, int section) {
    static constexpr std::string_view kTmpl =
        "recorder Element -file ele%d_secn.out -time -eleRange %D %D section %d deformation";
    const int full = count / kBlock, rest = count % kBlock;
    for (int k = 1; k <= full; ++k)
        Line(lines, kTmpl,
             {k, tags.FrameElement(kBlock * (k - 1) + 1), tags.FrameElement(kBlock * k), section});
    if (rest != 0)
        Line(lines, kTmpl,
             {0, tags.FrameElement(kBlock * full + 1), tags.FrameElement(kBlock * full + rest),
              section});
}

} // namespace

void WriteRecorders(const TModel& model, const TSettings& settings, const TagPlan& tags,
                    ScriptLineList& lines) {
    const int nodes = CountOf(model.NodeCount);
    const int frames = CountOf(model.FrameCount);
    const auto& rec = settings.RecOpt;

    Line(lines, "puts \"recorder\"");
    if (rec[kRecNodeDisp])
        NodeBlocks(lines, tags, nodes,
                   "recorder Node -file node%d.out -time -nodeRange %D %D -dof 1 2 3 disp");
    if (rec[kRecElementForce])
        ElementBlocks(lines, tags, frames,
                      "recorder Element -file ele%d.out -time -eleRange %D %D localForce");
    if (rec[kRecSectionDeformation]) {
        ElementBlocks(
            lines, tags, frames,
            "recorder Element -file ele%d_secs.out -time -eleRange %D %D section 1 deformation");
        LastSectionBlocks(lines, tags, frames, settings.NumIntgrPts);
    }
    // Mode shapes exist only after the eigen analysis of a modal analysis, which computes
    // exactly ModalNumber modes.
    if (rec[kRecModeShape] && settings.AnalysisType == kModalAnalysis) {
        static constexpr std::string_view kTmpl =
            "recorder Node -file eigen%d_node%d.out -time -nodeRange %D %D -dof 1 2 3 \"eigen %D\"";
        const int full = nodes / kBlock, rest = nodes % kBlock;
        for (int m = 1; m <= settings.ModalNumber; ++m) {
            for (int k = 0; k < full; ++k)
                Line(
                    lines, kTmpl,
                    {m, k, tags.JointNode(kBlock * k + 1), tags.JointNode(kBlock * k + kBlock), m});
            if (rest != 0)
                Line(lines, kTmpl,
                     {m, full, tags.JointNode(kBlock * full + 1),
                      tags.JointNode(kBlock * full + rest), m});
        }
    }
}

} // namespace vandra
