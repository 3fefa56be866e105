// Geometric transformations and frame elements, one of each per frame.
#include "tcl/ScriptWriters.h"

#include <string>
#include <string_view>

namespace vandra {

using namespace script;

namespace {

// The keyword of a transformation; a frame without a valid choice is treated as Linear.
std::string_view TransformationKeyword(int geoTransf) {
    switch (geoTransf) {
    case kPDelta:
        return "PDelta";
    case kCorotational:
        return "Corotational";
    default:
        return "Linear";
    }
}

// Beam-column kinds get a transformation; trusses and rigid beams do not.
bool HasTransformation(int frameType) {
    return frameType <= kBeamWithHinge || frameType == kElasticTimoshenkoBeam;
}

// "%0.0f" for a whole number of length units (millimetres), more decimals when the length has
// them: a 0.5 m hinge is neither 0 nor 1.
std::string HingeLength(double length) {
    return text::FormatFAtLeast(length, 0);
}

} // namespace

void WriteFrameElements(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TSettings& settings = context.settings;
    const TagPlan& tags = context.tags;
    const int frames = CountOf(model.FrameCount);
    // Every force- and displacement-based element has the same integration points.
    const int points = settings.NumIntgrPts;

    Line(lines, "puts \"transformation\"");
    for (int f = 1; f <= frames; ++f) {
        const TFRAME& frame = model.Frames[Slot(f)];
        const TSECTION& sec = At(model.Sections, frame.SecIdx);
        if (!HasTransformation(sec.FrameType)) continue;
        Line(lines, "geomTransf %s %D %0.3F %0.3F %0.3F ",
             {TransformationKeyword(sec.GeoTransf), tags.TransformationTag(f), frame.Axis2X,
              frame.Axis2Y, frame.Axis2Z});
    }

    Line(lines, "puts \"element\"");
    for (int f = 1; f <= frames; ++f) {
        const TFRAME& frame = model.Frames[Slot(f)];
        const TSECTION& sec = At(model.Sections, frame.SecIdx);
        const TSectionProps& props = At(context.sections, frame.SecIdx).Props;
        const TMAT& mat = At(model.Mats, sec.MatIdx);
        const int secTag = settings.UseAggregator ? tags.AggregatorTag(frame.SecIdx)
                                                  : tags.FiberSectionTag(frame.SecIdx);
        const int ele = tags.FrameElement(f), transf = tags.TransformationTag(f);
        const int nodeI = tags.JointNode(frame.NodeI), nodeJ = tags.JointNode(frame.NodeJ);
        const int matTag = tags.MaterialTag(sec.MatIdx);
        switch (sec.FrameType) {
        case kElasticBeamColumn:
            Line(lines,
                 "element elasticBeamColumn %D %D %D %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %D",
                 {ele, nodeI, nodeJ, props.Area, mat.E, mat.G, props.TorsJ, props.I33, props.I22,
                  transf});
            break;
        case kNonlinearBeamColumn:
            Line(lines, "element nonlinearBeamColumn %d %d %d %d %d %d",
                 {ele, nodeI, nodeJ, points, secTag, transf});
            break;
        case kDispBeamColumn:
            Line(lines, "element dispBeamColumn %d %d %d %d %d %d",
                 {ele, nodeI, nodeJ, points, secTag, transf});
            break;
        case kBeamWithHinge:
            Line(lines,
                 "element beamWithHinges %d %d %d %d %s %d %s %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E "
                 "%#0.4E %D ",
                 {ele, nodeI, nodeJ, secTag, HingeLength(sec.HingeLenI), secTag,
                  HingeLength(sec.HingeLenJ), mat.E, props.Area, props.I22, props.I33, mat.G,
                  props.TorsJ, transf});
            break;
        case kTruss: // trusses refer to the fiber section itself, never to an aggregator
            Line(lines, "element trussSection %d %d %d %d",
                 {ele, nodeI, nodeJ, tags.FiberSectionTag(frame.SecIdx)});
            break;
        case kCorotTruss:
            Line(lines, "element corotTrussSection %d %d %d %d",
                 {ele, nodeI, nodeJ, tags.FiberSectionTag(frame.SecIdx)});
            break;
        case kRigidBeam: // the rotations; the translations are tied by equalDOF
            Line(lines, "element zeroLength %d %d %d -mat %D %D %D -dir 4 5 6",
                 {ele, nodeI, nodeJ, matTag, matTag, matTag});
            break;
        case kElasticTimoshenkoBeam:
            Line(lines,
                 "element ElasticTimoshenkoBeam %D %D %D %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E "
                 "%#0.4E "
                 "%#0.4E %D",
                 {ele, nodeI, nodeJ, mat.E, mat.G, props.Area, props.TorsJ, props.I33, props.I22,
                  props.AS2, props.AS3, transf});
            break;
        default: // no element for an unknown type
            break;
        }
    }
}

} // namespace vandra
