#include "model/JointStability.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vandra {
namespace {

using Vec = std::array<double, 3>;

size_t Slot(int index) {
    return static_cast<size_t>(index);
}

void Add(Matrix3& m, const Vec& a) {
    for (size_t r = 0; r < 3; ++r)
        for (size_t c = 0; c < 3; ++c)
            m[r][c] += a[r] * a[c];
}

// The local axes 1, 2, 3 of a frame (unit vectors); false for a frame of zero length.
bool FrameAxes(const TModel& model, const TFRAME& f, std::array<Vec, 3>& axes) {
    const TNODE& a = model.Nodes[Slot(f.NodeI)];
    const TNODE& b = model.Nodes[Slot(f.NodeJ)];
    Vec e1{b.X - a.X, b.Y - a.Y, b.Z - a.Z};
    const double length = std::sqrt(e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2]);
    if (!(length > 0)) return false;
    for (double& v : e1)
        v /= length;
    const Vec e2{f.Axis2X, f.Axis2Y, f.Axis2Z};
    axes = {e1, e2,
            Vec{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                e1[0] * e2[1] - e1[1] * e2[0]}};
    return true;
}

bool ValidJoint(const TModel& model, int joint) {
    return joint >= 1 && joint <= model.NodeCount && Slot(joint) < model.Nodes.size();
}

// Frame types whose element holds the rotations of its ends.
bool HoldsRotations(int frameType) {
    return frameType >= kElasticBeamColumn && frameType <= kElasticTimoshenkoBeam &&
           frameType != kTruss && frameType != kCorotTruss;
}

constexpr unsigned kRotationBits[3] = {kReleaseTorsion, kReleaseM2, kReleaseM3};

} // namespace

int RankOf(Matrix3 a) {
    double largest = 0;
    for (size_t i = 0; i < 3; ++i)
        largest = std::max(largest, std::abs(a[i][i]));
    if (largest == 0) return 0;
    const double tolerance = largest * 1e-12;
    std::array<bool, 3> used{};
    int rank = 0;
    for (int step = 0; step < 3; ++step) {
        size_t p = 3;
        for (size_t i = 0; i < 3; ++i)
            if (!used[i] && (p == 3 || std::abs(a[i][i]) > std::abs(a[p][p]))) p = i;
        if (std::abs(a[p][p]) <= tolerance) break;
        used[p] = true;
        ++rank;
        for (size_t i = 0; i < 3; ++i) {
            if (used[i]) continue;
            const double factor = a[i][p] / a[p][p];
            for (size_t j = 0; j < 3; ++j)
                a[i][j] -= factor * a[p][j];
        }
    }
    return rank;
}

std::vector<TLooseJoint> LooseReleasedJoints(const TModel& model) {
    const int frames = std::min<int>(CountOf(model.FrameCount), int(model.Frames.size()) - 1);
    const int assigns = static_cast<int>(model.FrameAssigns.size());
    // Joints with a released rotation and the frames released there; most models have none.
    std::vector<std::vector<int>> released(Slot(CountOf(model.NodeCount)) + 1);
    bool any = false;
    for (int f = 1; f <= frames; ++f) {
        const TFRAME& frame = model.Frames[Slot(f)];
        if (frame.Assign <= 0 || frame.Assign >= assigns) continue;
        const TFrameAssign& a = model.FrameAssigns[Slot(frame.Assign)];
        for (const auto& [joint, bits, fixity] :
             {std::tuple{frame.NodeI, a.ReleaseI, &a.FixityI},
              std::tuple{frame.NodeJ, a.ReleaseJ, &a.FixityJ}})
            for (size_t k = 0; k < 3; ++k)
                if ((bits & kRotationBits[k]) && (*fixity)[4 + k] == 0 &&
                    ValidJoint(model, joint)) {
                    auto& list = released[Slot(joint)];
                    if (list.empty() || list.back() != f) list.push_back(f);
                    any = true;
                }
    }
    if (!any) return {};

    std::vector<Matrix3> held(released.size(), Matrix3{});
    auto hold = [&](int joint, const Vec& axis) {
        if (ValidJoint(model, joint) && !released[Slot(joint)].empty()) Add(held[Slot(joint)], axis);
    };
    constexpr Vec kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};
    auto holdAll = [&](int joint) {
        for (const Vec& v : {kX, kY, kZ})
            hold(joint, v);
    };
    for (int f = 1; f <= frames; ++f) {
        const TFRAME& frame = model.Frames[Slot(f)];
        if (frame.SecIdx < 1 || frame.SecIdx > model.SectionCount ||
            !HoldsRotations(model.Sections[Slot(frame.SecIdx)].FrameType))
            continue;
        if (!ValidJoint(model, frame.NodeI) || !ValidJoint(model, frame.NodeJ)) continue;
        std::array<Vec, 3> axes;
        if (!FrameAxes(model, frame, axes)) continue;
        const TFrameAssign& a =
            model.FrameAssigns[Slot(frame.Assign >= 0 && frame.Assign < assigns ? frame.Assign : 0)];
        for (const auto& [joint, bits, fixity] :
             {std::tuple{frame.NodeI, a.ReleaseI, &a.FixityI},
              std::tuple{frame.NodeJ, a.ReleaseJ, &a.FixityJ}})
            for (size_t k = 0; k < 3; ++k)
                if (!(bits & kRotationBits[k]) || (*fixity)[4 + k] > 0) hold(joint, axes[k]);
    }
    for (int i = 1; i <= CountOf(model.ShellCount) && Slot(i) < model.Shells.size(); ++i) {
        const TSHELL& s = model.Shells[Slot(i)];
        if (s.SecIdx < 1 || s.SecIdx > model.AreaSecCount ||
            model.AreaSecs[Slot(s.SecIdx)].ShellKind != 1)
            continue;
        for (int joint : {s.N1, s.N2, s.N3, s.N4})
            holdAll(joint);
    }
    for (int j = 1; j < static_cast<int>(released.size()); ++j) {
        const TNODE& n = model.Nodes[Slot(j)];
        const Vec axes[3] = {kX, kY, kZ};
        for (size_t k = 0; k < 3; ++k)
            if (n.Restraint[4 + k]) hold(j, axes[k]);
        if (n.LinkNode != 0) { // both ends of a rigid beam
            holdAll(j);
            holdAll(n.LinkNode);
        }
    }
    for (const TJOINTSPRING& s : model.Springs) {
        const Vec axes[3] = {kX, kY, kZ};
        for (size_t k = 0; k < 3; ++k)
            if (s.K[4 + k] > 0) hold(s.Joint, axes[k]);
    }
    for (int d = 1; d <= CountOf(model.DiaphCount) && Slot(d) < model.Diaphs.size(); ++d) {
        const TDIAPH& diaph = model.Diaphs[Slot(d)];
        holdAll(diaph.Master);
        for (int k = 1; k <= diaph.SlaveCount && Slot(k) < diaph.DiaNodes.size(); ++k)
            hold(diaph.DiaNodes[Slot(k)], kZ);
    }
    for (int t = 1; t <= model.EqualDofCount && Slot(t) < model.EqualDofs.size(); ++t) {
        const TEQUALDOF& tie = model.EqualDofs[Slot(t)];
        const Vec axes[3] = {kX, kY, kZ};
        for (size_t k = 0; k < 3; ++k)
            if (tie.Dof[4 + k]) {
                hold(tie.Retained, axes[k]);
                hold(tie.Constrained, axes[k]);
            }
    }

    std::vector<TLooseJoint> loose;
    for (int j = 1; j < static_cast<int>(released.size()); ++j)
        if (!released[Slot(j)].empty() && RankOf(held[Slot(j)]) < 3)
            loose.push_back({j, released[Slot(j)]});
    return loose;
}

} // namespace vandra
