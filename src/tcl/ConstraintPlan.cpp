#include "tcl/ConstraintPlan.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <string>

namespace vandra {
namespace {

enum class TieKind { RigidBeam, Twin, Equal };

// A tie as the model gives it, between node tags.
struct SourceTie {
    int Retained = 0, Constrained = 0;
    unsigned Dofs = 0;
    TieKind Kind = TieKind::Equal;
    int Index = 0; // the frame, the twin's joint, or the equal tie
};

constexpr unsigned Bit(int d) {
    return 1u << (d - 1);
}

constexpr bool InPlane(int d) {
    return d == 1 || d == 2 || d == 6;
}

std::string Num(long long v) {
    return text::FormatInt(v);
}

class UnionFind {
public:
    explicit UnionFind(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
    int Find(int a) {
        while (parent_[static_cast<size_t>(a)] != a)
            a = parent_[static_cast<size_t>(a)] = parent_[static_cast<size_t>(parent_[static_cast<size_t>(a)])];
        return a;
    }
    void Unite(int a, int b) { parent_[static_cast<size_t>(Find(a))] = Find(b); }

private:
    std::vector<int> parent_;
};

// What the plan knows of each node tag.
class Nodes {
public:
    Nodes(const TModel& model, const std::vector<int>& twinOf, const std::vector<uint8_t>& dofs)
        : model_(model), dofs_(dofs) {
        joints_ = CountOf(model.NodeCount);
        int last = joints_;
        for (int j = 1; j < static_cast<int>(twinOf.size()); ++j)
            last = std::max(last, twinOf[static_cast<size_t>(j)]);
        jointOf_.assign(static_cast<size_t>(last) + 1, 0);
        for (int j = 1; j <= joints_; ++j)
            jointOf_[static_cast<size_t>(j)] = j;
        for (int j = 1; j < static_cast<int>(twinOf.size()); ++j)
            if (twinOf[static_cast<size_t>(j)] != 0) jointOf_[static_cast<size_t>(twinOf[static_cast<size_t>(j)])] = j;
        masterOf_.assign(static_cast<size_t>(joints_) + 1, 0);
        isMaster_.assign(static_cast<size_t>(joints_) + 1, false);
        for (int d = 1; d <= CountOf(model.DiaphCount) && static_cast<size_t>(d) < model.Diaphs.size(); ++d) {
            const TDIAPH& diaph = model.Diaphs[static_cast<size_t>(d)];
            if (IsJoint(diaph.Master)) isMaster_[static_cast<size_t>(diaph.Master)] = true;
            for (int k = 1; k <= diaph.SlaveCount && static_cast<size_t>(k) < diaph.DiaNodes.size(); ++k)
                if (IsJoint(diaph.DiaNodes[static_cast<size_t>(k)]))
                    masterOf_[static_cast<size_t>(diaph.DiaNodes[static_cast<size_t>(k)])] = diaph.Master;
        }
    }

    size_t Size() const { return jointOf_.size(); }
    bool IsJoint(int tag) const { return tag >= 1 && tag <= joints_; }
    int JointOf(int tag) const { return tag >= 1 && static_cast<size_t>(tag) < jointOf_.size() ? jointOf_[static_cast<size_t>(tag)] : 0; }
    int Dofs(int tag) const {
        if (!IsJoint(tag)) return 3; // a twin
        return static_cast<size_t>(tag) < dofs_.size() ? dofs_[static_cast<size_t>(tag)] : 6;
    }
    int Master(int tag) const { return IsJoint(tag) ? masterOf_[static_cast<size_t>(tag)] : 0; }
    bool Fixed(int tag, int d) const {
        if (!IsJoint(tag) || d > Dofs(tag)) return false;
        return model_.Nodes[static_cast<size_t>(tag)].Restraint[static_cast<size_t>(d)] != 0 ||
               (isMaster_[static_cast<size_t>(tag)] && d >= 3 && d <= 5);
    }
    // Where the script writes the node (a linked joint stands where its link does).
    std::array<double, 3> Place(int tag) const {
        const int j = JointOf(tag);
        if (j < 1) return {0, 0, 0};
        const TNODE& own = model_.Nodes[static_cast<size_t>(j)];
        const TNODE& at = own.LinkNode >= 1 && own.LinkNode <= joints_
                              ? model_.Nodes[static_cast<size_t>(own.LinkNode)]
                              : own;
        return {at.X, at.Y, at.Z};
    }
    std::string Name(int tag) const {
        return IsJoint(tag) ? "joint " + Num(tag) : "the twin of joint " + Num(JointOf(tag));
    }

private:
    const TModel& model_;
    const std::vector<uint8_t>& dofs_;
    int joints_ = 0;
    std::vector<int> jointOf_, masterOf_;
    std::vector<bool> isMaster_;
};

std::vector<SourceTie> TiesOf(const TModel& model, const Nodes& nodes,
                              const std::vector<int>& twinOf) {
    std::vector<SourceTie> ties;
    for (int f = 1; f <= CountOf(model.FrameCount) && static_cast<size_t>(f) < model.Frames.size(); ++f) {
        const TFRAME& frame = model.Frames[static_cast<size_t>(f)];
        if (frame.SecIdx < 1 || frame.SecIdx > model.SectionCount ||
            model.Sections[static_cast<size_t>(frame.SecIdx)].FrameType != kRigidBeam)
            continue;
        if (!nodes.IsJoint(frame.NodeI) || !nodes.IsJoint(frame.NodeJ)) continue;
        if (frame.Release == kReleaseI)
            ties.push_back({frame.NodeI, frame.NodeJ, 7, TieKind::RigidBeam, f});
        else if (frame.Release == kReleaseJ)
            ties.push_back({frame.NodeJ, frame.NodeI, 7, TieKind::RigidBeam, f});
    }
    for (int j = 1; j < static_cast<int>(twinOf.size()); ++j)
        if (twinOf[static_cast<size_t>(j)] != 0)
            ties.push_back({j, twinOf[static_cast<size_t>(j)], 7, TieKind::Twin, j});
    const int equal = std::min<int>(model.EqualDofCount, static_cast<int>(model.EqualDofs.size()) - 1);
    for (int t = 1; t <= equal; ++t) {
        const TEQUALDOF& e = model.EqualDofs[static_cast<size_t>(t)];
        if (!nodes.IsJoint(e.Retained) || !nodes.IsJoint(e.Constrained) || e.Retained == e.Constrained)
            continue;
        unsigned dofs = 0;
        const int most = std::min(nodes.Dofs(e.Retained), nodes.Dofs(e.Constrained));
        for (int d = 1; d <= most; ++d)
            if (e.Dof[static_cast<size_t>(d)]) dofs |= Bit(d);
        if (dofs != 0) ties.push_back({e.Retained, e.Constrained, dofs, TieKind::Equal, t});
    }
    return ties;
}

// What one pass finds for each node: in each direction the node that it follows (root), the
// support that holds it, and the directions in which it cannot be held by the solver's rules.
struct Needs {
    std::array<int, 7> From{};    // [d]: the root it follows, 0 for none
    std::array<int, 7> Support{}; // [d]: the fixed node that holds it, 0 for none
    unsigned Problem = 0;
};

double Distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// One pass over the active ties: the groups of each direction and what each node needs.
std::vector<Needs> Resolve(const Nodes& nodes, const std::vector<SourceTie>& ties,
                           const std::vector<char>& active) {
    const size_t n = nodes.Size();
    std::vector<Needs> needs(n);
    std::vector<unsigned> tiedIn(n, 0);   // directions in which the node has an active tie
    std::vector<bool> constrained(n, false);
    std::array<UnionFind, 7> groups{UnionFind(0), UnionFind(n), UnionFind(n), UnionFind(n),
                                    UnionFind(n), UnionFind(n), UnionFind(n)};
    for (size_t k = 0; k < ties.size(); ++k) {
        if (!active[k]) continue;
        const SourceTie& t = ties[k];
        for (int d = 1; d <= 6; ++d)
            if (t.Dofs & Bit(d)) groups[static_cast<size_t>(d)].Unite(t.Retained, t.Constrained);
        tiedIn[static_cast<size_t>(t.Retained)] |= t.Dofs;
        tiedIn[static_cast<size_t>(t.Constrained)] |= t.Dofs;
        constrained[static_cast<size_t>(t.Constrained)] = true;
    }
    for (int d = 1; d <= 6; ++d) {
        std::map<int, std::vector<int>> members; // group -> nodes, in tag order
        for (int tag = 1; tag < static_cast<int>(n); ++tag)
            if (tiedIn[static_cast<size_t>(tag)] & Bit(d))
                members[groups[static_cast<size_t>(d)].Find(tag)].push_back(tag);
        for (const auto& [group, list] : members) {
            std::vector<int> fixed;
            int master = 0;
            bool slave = false, masters = false;
            for (int tag : list) {
                if (nodes.Fixed(tag, d)) fixed.push_back(tag);
                if (InPlane(d) && nodes.Master(tag) != 0) {
                    masters = masters || (slave && nodes.Master(tag) != master);
                    master = nodes.Master(tag);
                    slave = true;
                }
            }
            for (int tag : list) {
                Needs& need = needs[static_cast<size_t>(tag)];
                const bool isSlave = InPlane(d) && nodes.Master(tag) != 0;
                if (!fixed.empty()) {
                    if (nodes.Fixed(tag, d)) continue;
                    if (isSlave) { // a diaphragm moves what the support would hold
                        need.Problem |= Bit(d);
                        continue;
                    }
                    int nearest = fixed.front();
                    for (int s : fixed)
                        if (Distance(nodes.Place(s), nodes.Place(tag)) <
                            Distance(nodes.Place(nearest), nodes.Place(tag)))
                            nearest = s;
                    need.Support[static_cast<size_t>(d)] = nearest;
                } else if (slave) {
                    // Only the slaves of one diaphragm move as the group does.
                    if (!isSlave || masters) need.Problem |= Bit(d);
                }
            }
            if (!fixed.empty() || slave) continue;
            // A free group follows its root: a node that no diaphragm and no tie constrains.
            int root = list.front();
            auto rank = [&](int tag) {
                return std::make_pair(nodes.Master(tag) != 0, constrained[static_cast<size_t>(tag)]);
            };
            for (int tag : list)
                if (rank(tag) < rank(root)) root = tag;
            for (int tag : list)
                if (tag != root) needs[static_cast<size_t>(tag)].From[static_cast<size_t>(d)] = root;
        }
    }
    // Each node may follow one node, which follows none.
    std::vector<bool> isRoot(n, false);
    for (size_t tag = 1; tag < n; ++tag)
        for (int d = 1; d <= 6; ++d)
            if (needs[tag].From[static_cast<size_t>(d)] != 0)
                isRoot[static_cast<size_t>(needs[tag].From[static_cast<size_t>(d)])] = true;
    for (size_t tag = 1; tag < n; ++tag) {
        Needs& need = needs[tag];
        int retained = nodes.Master(static_cast<int>(tag));
        unsigned from = 0;
        for (int d = 1; d <= 6; ++d) {
            const int root = need.From[static_cast<size_t>(d)];
            if (root == 0) continue;
            from |= Bit(d);
            if (retained != 0 && retained != root) need.Problem |= Bit(d);
            retained = retained == 0 ? root : retained;
        }
        // A root that is itself constrained breaks the ties of its group.
        if (isRoot[tag] && (nodes.Master(static_cast<int>(tag)) != 0 || from != 0))
            need.Problem |= tiedIn[tag];
    }
    return needs;
}

std::string RefusalOf(const Nodes& nodes, const SourceTie& t, const TModel& model) {
    if (t.Kind == TieKind::Twin)
        return "Joint " + Num(t.Index) +
               " belongs to a solid and to what needs rotations, and is itself held by a "
               "constraint its three-dof twin cannot follow (the solver takes one constraint "
               "per node, retained by an unconstrained node): free the joint of that constraint";
    const TEQUALDOF& e = model.EqualDofs[static_cast<size_t>(t.Index)];
    return "Equal constraint tie " + Num(t.Index) + " of " + nodes.Name(e.Constrained) + " to " +
           nodes.Name(e.Retained) +
           " cannot be written: one of them is held by a diaphragm or another tie in a way the "
           "solver cannot combine (it takes one constraint per node, retained by an "
           "unconstrained node)";
}

} // namespace

ConstraintPlan::ConstraintPlan(const TModel& model, const std::vector<int>& twinOf,
                               const std::vector<uint8_t>& jointDofs) {
    const Nodes nodes(model, twinOf, jointDofs);
    const std::vector<SourceTie> ties = TiesOf(model, nodes, twinOf);
    if (ties.empty()) return;
    std::vector<char> active(ties.size(), 1);
    std::vector<Needs> needs;
    for (;;) {
        needs = Resolve(nodes, ties, active);
        // The ties that touch a node where it breaks the rules: rigid beams first, as they can
        // hold by springs instead.
        std::vector<size_t> broken;
        for (size_t k = 0; k < ties.size(); ++k) {
            if (!active[k]) continue;
            const SourceTie& t = ties[k];
            if ((needs[static_cast<size_t>(t.Retained)].Problem & t.Dofs) ||
                (needs[static_cast<size_t>(t.Constrained)].Problem & t.Dofs))
                broken.push_back(k);
        }
        if (broken.empty()) break;
        bool beams = false;
        for (size_t k : broken)
            if (ties[k].Kind == TieKind::RigidBeam) {
                active[k] = 0;
                stiffFrames_.push_back(ties[k].Index);
                beams = true;
            }
        if (!beams) throw InputError(RefusalOf(nodes, ties[broken.front()], model));
    }
    std::sort(stiffFrames_.begin(), stiffFrames_.end());

    // The lines, node by node in the order the ties name them.
    const size_t n = nodes.Size();
    std::vector<bool> isRetained(n, false);
    std::vector<unsigned> follows(n, 0);
    std::vector<std::map<int, unsigned>> supports(n); // support node -> directions
    for (size_t tag = 1; tag < n; ++tag)
        for (int d = 1; d <= 6; ++d) {
            const int root = needs[tag].From[static_cast<size_t>(d)];
            const int support = needs[tag].Support[static_cast<size_t>(d)];
            if (root != 0) {
                isRetained[static_cast<size_t>(root)] = true;
                follows[tag] |= Bit(d);
            }
            if (support != 0) supports[tag][support] |= Bit(d);
        }
    auto rootOf = [&](size_t tag) {
        for (int d = 1; d <= 6; ++d)
            if (needs[tag].From[static_cast<size_t>(d)] != 0) return needs[tag].From[static_cast<size_t>(d)];
        return 0;
    };
    // A node held by one support is tied to it when both are otherwise free of constraints (and
    // the node retains no other); else it is fixed in those directions.
    std::vector<bool> tiedToSupport(n, false);
    for (size_t tag = 1; tag < n; ++tag) {
        if (supports[tag].size() != 1) continue;
        const int support = supports[tag].begin()->first;
        const int root = rootOf(tag);
        tiedToSupport[tag] = (root == 0 || root == support) && nodes.Master(static_cast<int>(tag)) == 0 &&
                             !isRetained[tag] && nodes.Master(support) == 0 &&
                             follows[static_cast<size_t>(support)] == 0;
    }
    for (size_t tag = 1; tag < n; ++tag)
        if (tiedToSupport[tag] && tiedToSupport[static_cast<size_t>(supports[tag].begin()->first)])
            tiedToSupport[tag] = false;
    std::vector<bool> done(n, false);
    auto emit = [&](int tag) {
        const size_t at = static_cast<size_t>(tag);
        if (done[at]) return;
        done[at] = true;
        Tie line{rootOf(at), tag, follows[at]};
        unsigned held = 0;
        for (const auto& [node, dofs] : supports[at]) {
            supports_.push_back({tag, nodes.JointOf(node), dofs});
            if (tiedToSupport[at]) {
                line.Retained = node;
                line.Dofs |= dofs;
            } else {
                held |= dofs;
            }
        }
        if (line.Dofs != 0) equalDofs_.push_back(line);
        if (held != 0) held_.push_back({tag, held});
    };
    for (size_t k = 0; k < ties.size(); ++k) {
        if (!active[k]) continue;
        emit(ties[k].Retained);
        emit(ties[k].Constrained);
    }
    std::sort(held_.begin(), held_.end());
    std::sort(supports_.begin(), supports_.end(),
              [](const Support& a, const Support& b) { return a.Node < b.Node; });
}

unsigned ConstraintPlan::HeldBySupport(int node) const {
    auto it = std::lower_bound(held_.begin(), held_.end(), std::make_pair(node, 0u));
    return it != held_.end() && it->first == node ? it->second : 0;
}

bool ConstraintPlan::StiffRigidBeam(int frame) const {
    return std::binary_search(stiffFrames_.begin(), stiffFrames_.end(), frame);
}

} // namespace vandra
