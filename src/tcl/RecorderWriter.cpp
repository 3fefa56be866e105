// Recorders of nodes and frame elements, in files of blocks of 100 tags that the result readers
// find by block number and place in the block. The file names come from RecorderFiles.
#include "tcl/RecorderFiles.h"
#include "tcl/ResultRecorders.h"
#include "tcl/ScriptWriters.h"
#include "tcl/SettingsCheck.h"

#include <string>

namespace vandra {

using namespace script;
using recorder::FileName;
using recorder::RecorderFile;

namespace {

constexpr int kBlock = recorder::kBlockSize;
constexpr int kModalAnalysis = 4;

enum RecorderOption : int {
    kRecNodeDisp = 1,
    kRecElementForce = 2,
    kRecSectionDeformation = 3,
    kRecModeShape = 5,
};

// Node blocks: file k (from 0) holds nodes 100k + 1 .. 100k + 100, the last one up to `count`.
// emit(file, firstTag, lastTag) per block.
template <typename Emit> void ForEachNodeBlock(const TagPlan& tags, int count, Emit emit) {
    const int full = count / kBlock, rest = count % kBlock;
    for (int k = 0; k < full; ++k)
        emit(k, tags.JointNode(kBlock * k + 1), tags.JointNode(kBlock * k + kBlock));
    if (rest != 0)
        emit(full, tags.JointNode(kBlock * full + 1), tags.JointNode(kBlock * full + rest));
}

void NodeBlocks(ScriptLineList& lines, const TagPlan& tags, int count, RecorderFile file,
                std::string_view tmpl) {
    ForEachNodeBlock(tags, count, [&](int k, int first, int last) {
        Line(lines, tmpl, {FileName(file, k), first, last});
    });
}

// Element blocks: files 1..n hold the full blocks, file 0 the partial last block (when there is
// one). A range is never written reversed. emit(file, firstFrame, lastFrame) per block.
template <typename Emit> void ForEachElementBlock(int count, Emit emit) {
    const int full = count / kBlock;
    for (int k = 1; k <= full; ++k)
        emit(k, kBlock * (k - 1) + 1, kBlock * k);
    if (count % kBlock != 0) emit(0, kBlock * full + 1, count);
}

void ElementBlocks(ScriptLineList& lines, const TagPlan& tags, int count, RecorderFile file,
                   std::string_view tmpl) {
    ForEachElementBlock(count, [&](int k, int first, int last) {
        Line(lines, tmpl, {FileName(file, k), tags.FrameElement(first), tags.FrameElement(last)});
    });
}

bool IsHingeFrame(const TModel& model, int f) {
    return At(model.Sections, model.Frames[Slot(f)].SecIdx).FrameType == kBeamWithHinge;
}

// End J of a beam with hinges is its section 6, not section NumIntgrPts: the beams with hinges of
// each element block get a file of their own, listing their tags.
void HingeEndJBlocks(const TModel& model, const TagPlan& tags, ScriptLineList& lines, int count) {
    ForEachElementBlock(count, [&](int k, int first, int last) {
        std::string list;
        for (int f = first; f <= last; ++f) {
            if (!IsHingeFrame(model, f)) continue;
            list += ' ';
            text::AppendInt(list, tags.FrameElement(f));
        }
        if (list.empty()) return;
        Line(lines, "recorder Element -file %s -time -ele%s section %d deformation",
             {FileName(RecorderFile::HingeEndJ, k), list, recorder::kHingeSections});
    });
}

} // namespace

void WriteRecorders(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TSettings& settings = context.settings;
    const TagPlan& tags = context.tags;
    const int nodes = CountOf(model.NodeCount);
    const int frames = CountOf(model.FrameCount);
    const auto& rec = settings.RecOpt;

    Line(lines, "puts \"recorder\"");
    if (rec[kRecNodeDisp])
        NodeBlocks(lines, tags, nodes, RecorderFile::NodeDisplacement,
                   "recorder Node -file %s -time -nodeRange %D %D -dof 1 2 3 disp");
    if (settings.RecRotations) WriteRotationRecorders(model, tags, lines);
    if (settings.RecReactions) WriteReactionRecorders(model, tags, lines);
    // A corotational truss writes no column for "localForce": its axial force has a file of its
    // own.
    if (rec[kRecElementForce]) {
        ElementBlocks(lines, tags, frames, RecorderFile::ElementForce,
                      "recorder Element -file %s -time -eleRange %D %D localForce");
        WriteTrussAxialRecorders(model, tags, lines);
    }
    if (rec[kRecSectionDeformation]) {
        ElementBlocks(lines, tags, frames, RecorderFile::SectionFirst,
                      "recorder Element -file %s -time -eleRange %D %D section 1 deformation");
        ForEachElementBlock(frames, [&](int k, int first, int last) {
            Line(lines, "recorder Element -file %s -time -eleRange %D %D section %d deformation",
                 {FileName(RecorderFile::SectionLast, k), tags.FrameElement(first),
                  tags.FrameElement(last), settings.NumIntgrPts});
        });
        HingeEndJBlocks(model, tags, lines, frames);
    }
    // Mode shapes exist only after the eigen analysis of a modal analysis, which computes
    // exactly ModesToCompute modes.
    if (rec[kRecModeShape] && settings.AnalysisType == kModalAnalysis) {
        static constexpr std::string_view kTmpl =
            "recorder Node -file %s -time -nodeRange %D %D -dof 1 2 3 \"eigen %D\"";
        for (int m = 1, modes = ModesToCompute(model, settings); m <= modes; ++m)
            ForEachNodeBlock(tags, nodes, [&](int k, int first, int last) {
                Line(lines, kTmpl, {FileName(RecorderFile::ModeShape, k, m), first, last, m});
            });
    }
}

} // namespace vandra
