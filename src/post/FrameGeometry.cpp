#include "post/FrameGeometry.h"

#include <cmath>

namespace vandra {
namespace {

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Norm(const Vec3& a) {
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// The place the script writes a joint at: a joint linked to another stands where that one does.
const TNODE* WrittenPlace(const TModel& model, int joint) {
    if (joint < 1 || joint > model.NodeCount || static_cast<size_t>(joint) >= model.Nodes.size())
        return nullptr;
    const TNODE& own = model.Nodes[static_cast<size_t>(joint)];
    const int link = own.LinkNode;
    if (link >= 1 && link <= model.NodeCount && static_cast<size_t>(link) < model.Nodes.size())
        return &model.Nodes[static_cast<size_t>(link)];
    return &own;
}

} // namespace

bool JointPlace(const TModel& model, int joint, Vec3& place) {
    const TNODE* node = WrittenPlace(model, joint);
    if (node == nullptr) return false;
    place = {node->X, node->Y, node->Z};
    return true;
}

TFrameGeometry FrameGeometryOf(const TModel& model, int frame) {
    TFrameGeometry g;
    if (frame < 1 || frame > model.FrameCount || static_cast<size_t>(frame) >= model.Frames.size())
        return g;
    const TFRAME& f = model.Frames[static_cast<size_t>(frame)];
    const TNODE* i = WrittenPlace(model, f.NodeI);
    const TNODE* j = WrittenPlace(model, f.NodeJ);
    if (i == nullptr || j == nullptr) return g;
    g.I = {i->X, i->Y, i->Z};
    g.J = {j->X, j->Y, j->Z};
    const Vec3 d = {g.J[0] - g.I[0], g.J[1] - g.I[1], g.J[2] - g.I[2]};
    g.Length = Norm(d);
    if (!(g.Length > 0)) return g;
    g.X = {d[0] / g.Length, d[1] / g.Length, d[2] / g.Length};
    g.Valid = true;
    const Vec3 y = Cross({f.Axis2X, f.Axis2Y, f.Axis2Z}, g.X);
    const double ny = Norm(y);
    if (!(ny > 1e-12)) return g;
    g.Y = {y[0] / ny, y[1] / ny, y[2] / ny};
    g.Z = Cross(g.X, g.Y);
    g.HasAxes = true;
    return g;
}

int FrameTypeOf(const TModel& model, int frame) {
    if (frame < 1 || static_cast<size_t>(frame) >= model.Frames.size()) return 0;
    const int sec = model.Frames[static_cast<size_t>(frame)].SecIdx;
    if (sec < 1 || sec > model.SectionCount || static_cast<size_t>(sec) >= model.Sections.size())
        return 0;
    return model.Sections[static_cast<size_t>(sec)].FrameType;
}

bool IsBeamColumn(int frameType) {
    return frameType == kElasticBeamColumn || frameType == kNonlinearBeamColumn ||
           frameType == kDispBeamColumn || frameType == kBeamWithHinge ||
           frameType == kElasticTimoshenkoBeam;
}

Vec3 ToGlobal(const TFrameGeometry& g, const Vec3& v) {
    Vec3 out{};
    for (size_t k = 0; k < 3; ++k)
        out[k] = g.X[k] * v[0] + g.Y[k] * v[1] + g.Z[k] * v[2];
    return out;
}

Vec3 ToLocal(const TFrameGeometry& g, const Vec3& v) {
    const auto dot = [&v](const Vec3& a) { return a[0] * v[0] + a[1] * v[1] + a[2] * v[2]; };
    return {dot(g.X), dot(g.Y), dot(g.Z)};
}

} // namespace vandra
