// Geometric transformations and frame elements, one of each per frame.
#include "tcl/ScriptWriters.h"

#include <string>
#include <string_view>

namespace vandra {

using namespace script;

namespace {

using Vec = std::array<double, 3>;

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

const TNODE& WrittenPlace(const TModel& model, int joint) {
    const TNODE& own = At(model.Nodes, joint);
    return own.LinkNode == 0 ? own : At(model.Nodes, own.LinkNode);
}

Vec Combine(double a, const Vec& u, double b, const Vec& v, double c, const Vec& w) {
    return {a * u[0] + b * v[0] + c * w[0], a * u[1] + b * v[1] + c * w[1],
            a * u[2] + b * v[2] + c * w[2]};
}

// " -jntOffset dXi dYi dZi dXj dYj dZj" for a frame whose element leaves its joints: its rigid
// end zones along the frame, the offset of its axis across it; "" for one that does not.
std::string JointOffsets(const TModel& model, const TFRAME& frame, const TFrameAssign& a) {
    if (a.RigidI == 0 && a.RigidJ == 0 && a.Offset2 == 0 && a.Offset3 == 0) return "";
    const FrameAxes axes = FrameAxesOf(model, frame);
    const Vec i = Combine(a.RigidI, axes.E1, a.Offset2, axes.E2, a.Offset3, axes.E3);
    const Vec j = Combine(-a.RigidJ, axes.E1, a.Offset2, axes.E2, a.Offset3, axes.E3);
    return text::Format(" -jntOffset %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E",
                        {i[0], i[1], i[2], j[0], j[1], j[2]});
}

// The release option of an end pair: 1 end I, 2 end J, 3 both, 0 none.
int EndReleaseOption(bool atI, bool atJ) {
    return (atI ? 1 : 0) + (atJ ? 2 : 0);
}

// A shear area of 0 means no shear deformation (the section's convention): a shear area this
// many times the section area stands for it.
constexpr double kNoShearDeformation = 1e8;

} // namespace

namespace script {

FrameAxes FrameAxesOf(const TModel& model, const TFRAME& frame) {
    const TNODE& a = WrittenPlace(model, frame.NodeI);
    const TNODE& b = WrittenPlace(model, frame.NodeJ);
    FrameAxes axes;
    Vec e1{b.X - a.X, b.Y - a.Y, b.Z - a.Z};
    axes.Length = std::sqrt(e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2]);
    if (!(axes.Length > 0)) return axes;
    for (double& v : e1)
        v /= axes.Length;
    Vec e2{frame.Axis2X, frame.Axis2Y, frame.Axis2Z};
    const double along = e2[0] * e1[0] + e2[1] * e1[1] + e2[2] * e1[2];
    for (size_t k = 0; k < 3; ++k)
        e2[k] -= along * e1[k];
    const double n2 = std::sqrt(e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2]);
    if (!(n2 > 0)) return axes;
    for (double& v : e2)
        v /= n2;
    axes.E1 = e1;
    axes.E2 = e2;
    axes.E3 = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
               e1[0] * e2[1] - e1[1] * e2[0]};
    return axes;
}

TSectionProps ModifiedProperties(const TSectionProps& p, const TModifiers& m) {
    return {p.Area * m.Area, p.I22 * m.I22, p.I33 * m.I33,
            p.AS2 * m.AS2,   p.AS3 * m.AS3, p.TorsJ * m.TorsJ};
}

} // namespace script

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
        const std::string offsets = JointOffsets(model, frame, At(model.FrameAssigns, frame.Assign));
        if (offsets.empty())
            Line(lines, "geomTransf %s %D %0.3F %0.3F %0.3F ",
                 {TransformationKeyword(sec.GeoTransf), tags.TransformationTag(f), frame.Axis2X,
                  frame.Axis2Y, frame.Axis2Z});
        else
            Line(lines, "geomTransf %s %D %0.3F %0.3F %0.3F%s",
                 {TransformationKeyword(sec.GeoTransf), tags.TransformationTag(f), frame.Axis2X,
                  frame.Axis2Y, frame.Axis2Z, offsets});
    }

    Line(lines, "puts \"element\"");
    for (int f = 1; f <= frames; ++f) {
        const TFRAME& frame = model.Frames[Slot(f)];
        const TSECTION& sec = At(model.Sections, frame.SecIdx);
        const TFrameAssign& assign = At(model.FrameAssigns, frame.Assign);
        const TSectionProps props =
            ModifiedProperties(At(context.sections, frame.SecIdx).Props, assign.Modifiers);
        const TMAT& mat = At(model.Mats, sec.MatIdx);
        const int secTag = settings.UseAggregator ? tags.AggregatorTag(frame.SecIdx)
                                                  : tags.FiberSectionTag(frame.SecIdx);
        const int ele = tags.FrameElement(f), transf = tags.TransformationTag(f);
        const int nodeI = tags.FrameEndNode(f, 0), nodeJ = tags.FrameEndNode(f, 1);
        const int matTag = tags.MaterialTag(sec.MatIdx);
        // The releases the element takes itself: those of an end without an end node.
        const unsigned relI = nodeI == tags.JointNode(frame.NodeI) ? assign.ReleaseI : 0;
        const unsigned relJ = nodeJ == tags.JointNode(frame.NodeJ) ? assign.ReleaseJ : 0;
        // Released in torsion, an elastic frame carries none.
        const double torsion = ((relI | relJ) & kReleaseTorsion) ? 0.0 : props.TorsJ;
        switch (sec.FrameType) {
        case kElasticBeamColumn: {
            static constexpr std::string_view kElastic =
                "element elasticBeamColumn %D %D %D %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %D";
            // Local z of the element is axis 2 (moments about it: M2), local y axis -3 (M3).
            const int z = EndReleaseOption(relI & kReleaseM2, relJ & kReleaseM2);
            const int y = EndReleaseOption(relI & kReleaseM3, relJ & kReleaseM3);
            if (z == 0 && y == 0) {
                Line(lines, kElastic,
                     {ele, nodeI, nodeJ, props.Area, mat.E, mat.G, torsion, props.I33, props.I22,
                      transf});
                break;
            }
            std::string line = text::Format(kElastic, {ele, nodeI, nodeJ, props.Area, mat.E, mat.G,
                                                       torsion, props.I33, props.I22, transf});
            if (z != 0) text::AppendFormat(line, " -releasez %d", {z});
            if (y != 0) text::AppendFormat(line, " -releasey %d", {y});
            Line(lines, line);
            break;
        }
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
        case kRigidBeam: // the rotations; the translations are tied by equalDOF, or by springs
            if (tags.Constraints().StiffRigidBeam(f)) {
                const int stiff = tags.SpringMaterialTag(tags.StiffTranslation());
                // The moments first, as in a link the constraints hold.
                Line(lines, "element zeroLength %d %d %d -mat %D %D %D %D %D %D -dir 4 5 6 1 2 3",
                     {ele, nodeI, nodeJ, matTag, matTag, matTag, stiff, stiff, stiff});
            } else {
                Line(lines, "element zeroLength %d %d %d -mat %D %D %D -dir 4 5 6",
                     {ele, nodeI, nodeJ, matTag, matTag, matTag});
            }
            break;
        case kElasticTimoshenkoBeam: {
            // Shear along local y (axis -3) takes AS3, along local z (axis 2) AS2.
            const double big = kNoShearDeformation * props.Area;
            Line(lines,
                 "element ElasticTimoshenkoBeam %D %D %D %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E "
                 "%#0.4E %#0.4E %D",
                 {ele, nodeI, nodeJ, mat.E, mat.G, props.Area, torsion, props.I33, props.I22,
                  props.AS3 > 0 ? props.AS3 : big, props.AS2 > 0 ? props.AS2 : big, transf});
            break;
        }
        default: // no element for an unknown type
            break;
        }
    }
}

} // namespace vandra
