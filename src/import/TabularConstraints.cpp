// The tabular import: diaphragms, equal constraints and the restraint of joints that nothing
// holds.
#include "import/TabularSupport.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace vandra::tabular {
namespace {

std::vector<bool> ElementJoints(const Importer& im) {
    const TModel& m = im.Model;
    std::vector<bool> used(static_cast<size_t>(m.NodeCount) + 1, false);
    for (int f = 1; f <= m.FrameCount; ++f) {
        used[static_cast<size_t>(m.Frames[static_cast<size_t>(f)].NodeI)] = true;
        used[static_cast<size_t>(m.Frames[static_cast<size_t>(f)].NodeJ)] = true;
    }
    for (int i = 1; i <= m.ShellCount; ++i) {
        const TSHELL& s = m.Shells[static_cast<size_t>(i)];
        for (int n : {s.N1, s.N2, s.N3, s.N4})
            used[static_cast<size_t>(n)] = true;
    }
    for (int i = 1; i <= m.SolidCount; ++i)
        for (int k = 1; k <= 8; ++k)
            used[static_cast<size_t>(m.Solids[static_cast<size_t>(i)].N[static_cast<size_t>(k)])] =
                true;
    return used;
}

constexpr double kLevelTolerance = 1.0; // mm: joints of one diaphragm level

// The joints of each constraint, by constraint name, in assignment order.
using ConstraintJoints = std::map<std::string_view, std::vector<int>>;

ConstraintJoints ConstraintMembers(Importer& im) {
    ConstraintJoints members;
    if (const TabularTable* t = im.Table("JOINT CONSTRAINT ASSIGNMENTS"))
        for (size_t r = 0; r < t->Rows.size(); ++r)
            members[t->Value(t->Rows[r], "Constraint")].push_back(im.Joint(*t, r, "Joint"));
    return members;
}

// The diaphragm of one level of diaphragm `name`, its joints in assignment order: the master is the
// last special joint that no element uses, else a new joint at the centre of the joints.
void AddLevelDiaphragm(Importer& im, const std::string& name, const std::vector<int>& ordered,
                       const std::vector<bool>& inElement) {
    TModel& m = im.Model;
    int master = 0;
    for (int j : ordered)
        if (im.SpecialJoint[static_cast<size_t>(j)] && !inElement[static_cast<size_t>(j)])
            master = j;
    if (master == 0) {
        // At the mean of the joints in plan, in the plane of the level's first joint.
        double x = 0, y = 0;
        for (int j : ordered) {
            x += m.Nodes[static_cast<size_t>(j)].X;
            y += m.Nodes[static_cast<size_t>(j)].Y;
        }
        const double n = static_cast<double>(ordered.size());
        master = im.NewJoint(x / n, y / n, m.Nodes[static_cast<size_t>(ordered.front())].Z);
        im.Info("Diaphragm " + name + ": master is a new joint " + Int(master) +
                " at the centre of its " + Int(static_cast<long long>(ordered.size())) + " joints");
    } else {
        im.Info("Diaphragm " + name + ": master is special joint " +
                std::string(im.JointLabel[static_cast<size_t>(master)]) + ", " +
                Int(static_cast<long long>(ordered.size()) - 1) + " slaves");
    }
    TDIAPH d;
    d.DiaNodes.push_back(0);
    for (int j : ordered)
        if (j != master) d.DiaNodes.push_back(j);
    d.SlaveCount = static_cast<int>(d.DiaNodes.size()) - 1;
    d.Master = master;
    m.Diaphs.push_back(std::move(d));
}

// The diaphragm that holds each joint so far, by the row of its definition.
using DiaphragmOfJoint = std::unordered_map<int, size_t>;

// One row of the diaphragm definitions: its unrestrained joints, one diaphragm per level. A joint
// that another diaphragm already holds is refused: the solver cannot tie it to two.
void ReadDiaphragm(Importer& im, const TabularTable& t, size_t r, const std::string& name,
                   const std::vector<int>& assigned, const std::vector<bool>& inElement,
                   DiaphragmOfJoint& owner) {
    const TModel& m = im.Model;
    const TabularRow& row = t.Rows[r];
    std::vector<int> joints;
    std::vector<int> dropped;
    for (int j : assigned) {
        const TNODE& n = m.Nodes[static_cast<size_t>(j)];
        if (n.Restraint[1] || n.Restraint[2] || n.Restraint[6]) {
            dropped.push_back(j);
            continue;
        }
        const auto [it, fresh] = owner.try_emplace(j, r);
        if (!fresh && it->second != r)
            throw InputError(im.Where(t, r) + ": joint " +
                             Label(im.JointLabel[static_cast<size_t>(j)]) + " of diaphragm " +
                             Label(name) + " is also in diaphragm " +
                             Label(t.Value(t.Rows[it->second], "Name")) +
                             "; a joint can be in one diaphragm only");
        if (fresh) joints.push_back(j);
    }
    if (!dropped.empty())
        im.Warn(row.Line,
                "diaphragm " + name + " holds restrained joints (" + FirstLabels(im, dropped) + ")",
                "they are left out of the diaphragm");
    std::sort(joints.begin(), joints.end(), [&](int a, int b) {
        return m.Nodes[static_cast<size_t>(a)].Z < m.Nodes[static_cast<size_t>(b)].Z;
    });
    size_t begin = 0;
    int levels = 0;
    while (begin < joints.size()) {
        size_t end = begin + 1;
        const double z0 = m.Nodes[static_cast<size_t>(joints[begin])].Z;
        while (end < joints.size() &&
               m.Nodes[static_cast<size_t>(joints[end])].Z - z0 <= kLevelTolerance)
            ++end;
        std::vector<int> level(joints.begin() + static_cast<long>(begin),
                               joints.begin() + static_cast<long>(end));
        // Joints in assignment order, so the master is the last special joint listed.
        std::vector<int> ordered;
        for (int j : assigned)
            if (std::find(level.begin(), level.end(), j) != level.end()) ordered.push_back(j);
        begin = end;
        if (ordered.size() < 2) continue;
        ++levels;
        AddLevelDiaphragm(im, name, ordered, inElement);
    }
    if (levels > 1)
        im.Warn(row.Line, "diaphragm " + name + " spans " + Int(levels) + " levels",
                "one diaphragm is written per level");
}

void ReadDiaphragmTable(Importer& im, const ConstraintJoints& members) {
    const TabularTable* t = im.Table("CONSTRAINT DEFINITIONS - DIAPHRAGM");
    if (t == nullptr) return;
    const std::vector<bool> inElement = ElementJoints(im);
    DiaphragmOfJoint owner;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const std::string name(t->Value(row, "Name"));
        const std::string_view axis = t->Value(row, "Axis", "Z");
        auto it = members.find(t->Value(row, "Name"));
        if (it == members.end()) continue;
        if (axis != "Z" && axis != "AutoZ") {
            im.Warn(row.Line, "diaphragm " + name + " is about axis " + std::string(axis),
                    "skipped; only diaphragms in horizontal planes are written");
            continue;
        }
        ReadDiaphragm(im, *t, r, name, it->second, inElement, owner);
    }
}

// [joint]: true for a slave of a rigid diaphragm.
std::vector<bool> DiaphragmSlaves(const TModel& m) {
    std::vector<bool> slave(static_cast<size_t>(m.NodeCount) + 1, false);
    for (int d = 1; d <= m.DiaphCount; ++d)
        for (int j = 1; j <= m.Diaphs[static_cast<size_t>(d)].SlaveCount; ++j)
            slave[static_cast<size_t>(
                m.Diaphs[static_cast<size_t>(d)].DiaNodes[static_cast<size_t>(j)])] = true;
    return slave;
}

// Row r of the equal constraints over its joints (at least two). A direction in which some of them
// are restrained ties each of the others to the nearest restrained one: equal to a support is held
// by it, and its reaction is that support's. The other directions tie the joints to the first one
// that no diaphragm holds; a joint of a diaphragm is left out of them (the solver takes one
// constraint per joint, and the diaphragm's comes first).
void ReadEqualConstraint(Importer& im, const TabularTable& t, size_t r,
                         const std::vector<int>& joints, const std::vector<bool>& slave) {
    static constexpr std::string_view kKeys[] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
    TModel& m = im.Model;
    const TabularRow& row = t.Rows[r];
    const std::string name(t.Value(row, "Name"));
    // Ties by (retained, constrained) pair, in the order they are made.
    std::vector<TEQUALDOF> ties;
    auto tie = [&](int retained, int constrained, size_t d) {
        for (TEQUALDOF& e : ties)
            if (e.Retained == retained && e.Constrained == constrained) {
                e.Dof[d] = 1;
                return;
            }
        TEQUALDOF e;
        e.Retained = retained;
        e.Constrained = constrained;
        e.Dof[d] = 1;
        ties.push_back(e);
    };
    int free = 0;
    for (const int j : joints)
        if (!slave[static_cast<size_t>(j)]) {
            free = j;
            break;
        }
    std::string supported, tied;
    std::vector<int> leftOut;
    for (size_t d = 1; d <= 6; ++d) {
        if (!im.Yes(t, r, kKeys[d - 1])) continue;
        std::vector<int> supports;
        for (int j : joints)
            if (m.Nodes[static_cast<size_t>(j)].Restraint[d]) supports.push_back(j);
        if (!supports.empty()) {
            const bool inPlane = d == 1 || d == 2 || d == 6;
            for (int j : joints) {
                if (m.Nodes[static_cast<size_t>(j)].Restraint[d]) continue;
                if (inPlane && slave[static_cast<size_t>(j)]) {
                    if (std::find(leftOut.begin(), leftOut.end(), j) == leftOut.end())
                        leftOut.push_back(j);
                    continue;
                }
                int nearest = supports.front();
                double best = 1e300;
                for (int s : supports) {
                    const double distance = Norm(Sub(im.Position(j), im.Position(s)));
                    if (distance < best) {
                        best = distance;
                        nearest = s;
                    }
                }
                tie(nearest, j, d);
            }
            supported += (supported.empty() ? "" : " ") + std::string(kKeys[d - 1]);
            continue;
        }
        for (int j : joints) {
            if (j == free) continue;
            if (slave[static_cast<size_t>(j)] || free == 0) {
                if (std::find(leftOut.begin(), leftOut.end(), j) == leftOut.end())
                    leftOut.push_back(j);
                continue;
            }
            tie(free, j, d);
        }
        tied += (tied.empty() ? "" : " ") + std::string(kKeys[d - 1]);
    }
    m.EqualDofs.insert(m.EqualDofs.end(), ties.begin(), ties.end());
    if (!supported.empty())
        im.Info("Equal constraint " + name + ": " + supported +
                " tied to the nearest of its restrained joints");
    if (!tied.empty() && free != 0)
        im.Info("Equal constraint " + name + ": " + tied + " tied by equalDOF to joint " +
                std::string(im.JointLabel[static_cast<size_t>(free)]));
    if (!leftOut.empty())
        im.Warn(row.Line,
                im.Where(t, r) + ": equal constraint " + name + " ties joints of a diaphragm (" +
                    FirstLabels(im, leftOut) + ")",
                "they are left out of it where a support does not hold the direction or the "
                "diaphragm moves it: the solver takes one constraint per joint");
}

void ReadEqualTable(Importer& im, const ConstraintJoints& members) {
    const TabularTable* t = im.Table("CONSTRAINT DEFINITIONS - EQUAL");
    if (t == nullptr) return;
    const std::vector<bool> slave = DiaphragmSlaves(im.Model);
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        auto it = members.find(t->Value(t->Rows[r], "Name"));
        if (it == members.end() || it->second.size() < 2) continue;
        ReadEqualConstraint(im, *t, r, it->second, slave);
    }
}

} // namespace

std::string FirstLabels(const Importer& im, const std::vector<int>& joints) {
    std::string list;
    for (size_t k = 0; k < joints.size() && k < 5; ++k) {
        const std::string_view label = im.JointLabel[static_cast<size_t>(joints[k])];
        list += (list.empty() ? "" : ", ") +
                (label.empty() ? "new joint " + Int(joints[k]) : std::string(label));
    }
    if (joints.size() > 5) list += ", ...";
    return list;
}

void ReadConstraintTables(Importer& im) {
    TModel& m = im.Model;
    m.Diaphs.assign(1, TDIAPH{});
    m.EqualDofs.assign(1, TEQUALDOF{});
    const ConstraintJoints members = ConstraintMembers(im);
    ReadDiaphragmTable(im, members);
    m.DiaphCount = static_cast<int>(m.Diaphs.size()) - 1;
    ReadEqualTable(im, members);
    m.EqualDofCount = static_cast<int>(m.EqualDofs.size()) - 1;

    for (const TabularTable& t : im.File.Tables)
        if (t.Name.starts_with("CONSTRAINT DEFINITIONS - ") &&
            t.Name != "CONSTRAINT DEFINITIONS - DIAPHRAGM" &&
            t.Name != "CONSTRAINT DEFINITIONS - EQUAL" && !t.Rows.empty())
            im.Warn(t.Line, "constraints of table " + t.Name + " cannot be carried",
                    "skipped; the joints move independently");
}

void RestrainIsolatedJoints(Importer& im) {
    TModel& m = im.Model;
    std::vector<bool> used = ElementJoints(im);
    for (int d = 1; d <= m.DiaphCount; ++d) {
        const TDIAPH& diaph = m.Diaphs[static_cast<size_t>(d)];
        used[static_cast<size_t>(diaph.Master)] = true;
    }
    for (const TJOINTSPRING& s : m.Springs)
        used[static_cast<size_t>(s.Joint)] = true;
    for (int e = 1; e <= m.EqualDofCount; ++e) {
        used[static_cast<size_t>(m.EqualDofs[static_cast<size_t>(e)].Retained)] = true;
        used[static_cast<size_t>(m.EqualDofs[static_cast<size_t>(e)].Constrained)] = true;
    }
    std::vector<int> isolated;
    for (int i = 1; i <= m.NodeCount; ++i) {
        if (used[static_cast<size_t>(i)]) continue;
        TNODE& n = m.Nodes[static_cast<size_t>(i)];
        bool all = true;
        for (int d = 1; d <= 6; ++d)
            all = all && n.Restraint[static_cast<size_t>(d)];
        if (all) continue;
        for (int d = 1; d <= 6; ++d)
            n.Restraint[static_cast<size_t>(d)] = 1;
        isolated.push_back(i);
    }
    if (!isolated.empty())
        im.Warn(0,
                Int(static_cast<long long>(isolated.size())) + " joints belong to no element (" +
                    FirstLabels(im, isolated) + ")",
                "restrained in all six directions so that the solver can run");
}

} // namespace vandra::tabular
