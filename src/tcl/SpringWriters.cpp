// Zero-length springs: joints on springs to the ground, and the end nodes of released frame ends.
#include "tcl/ScriptWriters.h"

#include <string>

namespace vandra {

using namespace script;

namespace {

// The element's local direction (1..6) of a frame's local direction k: the element's local y is
// the frame's axis -3 and its z the frame's axis 2, as for the frame's element.
constexpr int kElementDirection[7] = {0, 1, 3, 2, 4, 6, 5};

} // namespace

void WriteSpringElements(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TagPlan& tags = context.tags;
    if (model.Springs.empty() && tags.EndNodes().empty()) return;
    Line(lines, "puts \"spring\"");
    for (size_t s = 0; s < model.Springs.size(); ++s) {
        const TJOINTSPRING& spring = model.Springs[s];
        std::string mats, dirs;
        for (int d = 1; d <= 6; ++d) {
            const double k = spring.K[Slot(d)];
            if (!(k > 0)) continue;
            text::AppendFormat(mats, " %d", {tags.SpringMaterialTag(k)});
            text::AppendFormat(dirs, " %d", {d});
        }
        if (mats.empty()) continue; // a joint on springs of 0 is free
        Line(lines, "element zeroLength %D %D %D -mat%s -dir%s",
             {tags.SpringElement(static_cast<int>(s)), tags.GroundNode(static_cast<int>(s)),
              tags.JointNode(spring.Joint), mats, dirs});
    }
    // An end node follows its joint stiffly, except in the released directions: there by the
    // spring of a partial fixity, or freely.
    for (size_t k = 0; k < tags.EndNodes().size(); ++k) {
        const auto [f, end] = tags.EndNodes()[k];
        const TFRAME& frame = model.Frames[Slot(f)];
        const TFrameAssign& a = At(model.FrameAssigns, frame.Assign);
        const unsigned released = end == 0 ? a.ReleaseI : a.ReleaseJ;
        const auto& fixity = end == 0 ? a.FixityI : a.FixityJ;
        std::string mats, dirs;
        for (int d = 1; d <= 6; ++d) {
            double stiffness = d <= 3 ? tags.StiffTranslation() : tags.StiffRotation();
            if (released & (1u << (d - 1))) stiffness = fixity[Slot(d)];
            if (!(stiffness > 0)) continue;
            text::AppendFormat(mats, " %d", {tags.SpringMaterialTag(stiffness)});
            text::AppendFormat(dirs, " %d", {kElementDirection[d]});
        }
        const FrameAxes axes = FrameAxesOf(model, frame);
        Line(lines,
             "element zeroLength %D %D %D -mat%s -dir%s -orient %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E "
             "%#0.4E",
             {tags.EndSpringElement(k), tags.JointNode(end == 0 ? frame.NodeI : frame.NodeJ),
              tags.EndNode(k), mats, dirs, axes.E1[0], axes.E1[1], axes.E1[2], -axes.E3[0],
              -axes.E3[1], -axes.E3[2]});
    }
}

} // namespace vandra
