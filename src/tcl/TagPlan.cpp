#include "tcl/TagPlan.h"

#include "model/Errors.h"
#include "model/NumberText.h"
#include "sections/SectionProperties.h"
#include "tcl/ScriptWriters.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <string>

namespace vandra {
namespace {

constexpr int kBlockStep = 100;
constexpr int kDisplacementControlTypes[] = {kSingleDisplacementControl, kGravityPushover};

enum JointUse : uint8_t {
    kUsedBySolid = 1,
    kNeedsRotations = 2, // a frame or shell element, a diaphragm or a rigid link
};

std::string Num(long long v) {
    return text::FormatInt(v);
}

// The base of a block whose usual base is `usual`, placed above a block whose highest tag is
// `below`: the usual base when the two do not meet, else the next multiple of 100 at or above
// `below`.
int BlockBase(int usual, long long below) {
    if (below <= usual) return usual;
    const long long base = (below + kBlockStep - 1) / kBlockStep * kBlockStep;
    if (base > INT_MAX / 2) throw InputError("The model has too many records to number its tags");
    return static_cast<int>(base);
}

bool FrameHasElement(const TModel& model, const TFRAME& frame) {
    if (frame.SecIdx < 1 || frame.SecIdx > model.SectionCount) return false;
    const int type = model.Sections[static_cast<size_t>(frame.SecIdx)].FrameType;
    return type >= kElasticBeamColumn && type <= kElasticTimoshenkoBeam;
}

bool ShellHasElement(const TModel& model, const TSHELL& shell) {
    if (shell.SecIdx < 1 || shell.SecIdx > model.AreaSecCount) return false;
    const TAREASEC& area = model.AreaSecs[static_cast<size_t>(shell.SecIdx)];
    return area.ShellKind == script::kShellKindShell &&
           (area.NonlinType == kShellMITC4 || area.NonlinType == kShellDKGQ);
}

// How each joint is used ([joint], JointUse bits), for a model with solids. Throws InputError for
// a solid on a joint that does not exist, and for a solid's joint that follows a diaphragm: it
// would be constrained twice over (its twin follows it), which the solver's constraint handler
// cannot resolve.
std::vector<uint8_t> JointUses(const TModel& model) {
    const int nodes = CountOf(model.NodeCount);
    std::vector<uint8_t> use(static_cast<size_t>(nodes) + 1, 0);
    auto mark = [&](int joint, uint8_t how) {
        if (joint >= 1 && joint <= nodes) use[static_cast<size_t>(joint)] |= how;
    };
    for (int i = 1; i <= CountOf(model.SolidCount); ++i)
        for (size_t c = 1; c <= 8; ++c) {
            const int joint = model.Solids[static_cast<size_t>(i)].N[c];
            if (joint < 1 || joint > nodes)
                throw InputError("Solid " + Num(i) + " refers to joint " + Num(joint) +
                                 ", which does not exist");
            mark(joint, kUsedBySolid);
        }
    for (int f = 1; f <= model.FrameCount; ++f) {
        const TFRAME& frame = model.Frames[static_cast<size_t>(f)];
        if (!FrameHasElement(model, frame)) continue;
        mark(frame.NodeI, kNeedsRotations);
        mark(frame.NodeJ, kNeedsRotations);
    }
    for (int i = 1; i <= model.ShellCount; ++i) {
        const TSHELL& shell = model.Shells[static_cast<size_t>(i)];
        if (!ShellHasElement(model, shell)) continue;
        for (int joint : {shell.N1, shell.N2, shell.N3, shell.N4})
            mark(joint, kNeedsRotations);
    }
    for (int d = 1; d <= model.DiaphCount; ++d) {
        const TDIAPH& diaph = model.Diaphs[static_cast<size_t>(d)];
        mark(diaph.Master, kNeedsRotations);
        for (int j = 1; j <= diaph.SlaveCount; ++j) {
            const int joint = diaph.DiaNodes[static_cast<size_t>(j)];
            if (joint >= 1 && joint <= nodes && (use[static_cast<size_t>(joint)] & kUsedBySolid))
                throw InputError("Joint " + Num(joint) +
                                 " belongs to a solid and follows rigid "
                                 "diaphragm " +
                                 Num(d) +
                                 "; a solid's joint cannot follow a diaphragm: take it out of "
                                 "the diaphragm");
            mark(joint, kNeedsRotations);
        }
    }
    for (int j = 1; j <= nodes; ++j)
        if (model.Nodes[static_cast<size_t>(j)].LinkNode != 0) {
            mark(j, kNeedsRotations);
            mark(model.Nodes[static_cast<size_t>(j)].LinkNode, kNeedsRotations);
        }
    return use;
}

// Whether a frame end released as given needs an end node: the element cannot release it itself.
bool NeedsEndNode(int frameType, unsigned bits, const std::array<double, 7>& fixity) {
    if (bits == 0 || frameType == kTruss || frameType == kCorotTruss || frameType == kRigidBeam)
        return false;
    for (size_t d = 1; d <= 6; ++d)
        if (fixity[d] > 0) return true;
    if (bits & (kReleaseAxial | kReleaseV2 | kReleaseV3)) return true;
    if (frameType == kElasticBeamColumn) return false;
    if (frameType == kElasticTimoshenkoBeam) return (bits & (kReleaseM2 | kReleaseM3)) != 0;
    return true;
}

// What a rigid tie's spring is stiffer than: the largest E A / L and E I / L of the frames.
std::pair<double, double> LargestFrameStiffness(const TModel& model) {
    double axial = 0, bending = 0;
    for (int f = 1; f <= model.FrameCount; ++f) {
        const TFRAME& frame = model.Frames[static_cast<size_t>(f)];
        if (!FrameHasElement(model, frame)) continue;
        const TSECTION& sec = model.Sections[static_cast<size_t>(frame.SecIdx)];
        if (sec.FrameType == kRigidBeam || sec.MatIdx < 1 || sec.MatIdx > model.MatCount) continue;
        const TNODE& a = model.Nodes[static_cast<size_t>(frame.NodeI)];
        const TNODE& b = model.Nodes[static_cast<size_t>(frame.NodeJ)];
        const double length = std::hypot(b.X - a.X, b.Y - a.Y, b.Z - a.Z);
        if (!(length > 0)) continue;
        const double e = model.Mats[static_cast<size_t>(sec.MatIdx)].E;
        const TSectionProps p = SectionPropertiesOf(sec);
        axial = std::max(axial, std::abs(e * p.Area / length));
        bending = std::max(bending, std::abs(e * std::max({p.I22, p.I33, p.TorsJ}) / length));
    }
    return {axial > 0 ? axial : 1.0, bending > 0 ? bending : 1.0};
}

constexpr double kStiffRatio = 1e6; // a rigid tie's spring over the stiffest frame

} // namespace

TagPlan::TagPlan(const TModel& model, const TSettings& settings) : model_(model) {
    const int mats = CountOf(model.MatCount);
    const int sections = CountOf(model.SectionCount);
    const int areaSecs = CountOf(model.AreaSecCount);
    const int aggregated = settings.UseAggregator ? sections : 0;

    shearYBase_ = BlockBase(200, mats);
    shearZBase_ = BlockBase(300, static_cast<long long>(shearYBase_) + aggregated);
    torsionBase_ = BlockBase(400, static_cast<long long>(shearZBase_) + aggregated);
    plateMaterialBase_ = BlockBase(600, mats);
    plateSectionBase_ = BlockBase(700, sections);
    aggregatorBase_ = BlockBase(1000, static_cast<long long>(plateSectionBase_) + areaSecs);
    groundMotionBase_ = BlockBase(1001, CountOf(model.LoadCaseCount));

    plateMats_.assign(static_cast<size_t>(mats) + 1, false);
    solidMats_.assign(static_cast<size_t>(mats) + 1, false);
    if (settings.GenPlateFiber)
        for (int a = 1; a <= areaSecs; ++a) {
            const TAREASEC& area = model.AreaSecs[static_cast<size_t>(a)];
            if (area.ShellKind == script::kShellKindShell && area.MatIdx >= 1 &&
                area.MatIdx <= mats)
                plateMats_[static_cast<size_t>(area.MatIdx)] = true;
        }

    if (CountOf(model.SolidCount) > 0) PlanSolids(settings);
    constraints_ = ConstraintPlan(model, twins_, dofs_);
    PlanSprings(torsionBase_ + aggregated);
}

void TagPlan::PlanSprings(int uniaxialBelow) {
    const TModel& model = model_;
    const int nodes = CountOf(model.NodeCount);
    int last = nodes;
    for (int twin : twins_)
        last = std::max(last, twin);
    groundBase_ = last;
    endBase_ = groundBase_ + static_cast<int>(model.Springs.size());
    const int assigns = static_cast<int>(model.FrameAssigns.size());
    for (int f = 1; f <= model.FrameCount; ++f) {
        const TFRAME& frame = model.Frames[static_cast<size_t>(f)];
        if (frame.Assign <= 0 || frame.Assign >= assigns || !FrameHasElement(model, frame)) continue;
        const TFrameAssign& a = model.FrameAssigns[static_cast<size_t>(frame.Assign)];
        const int type = model.Sections[static_cast<size_t>(frame.SecIdx)].FrameType;
        for (int end = 0; end < 2; ++end) {
            if (!NeedsEndNode(type, end == 0 ? a.ReleaseI : a.ReleaseJ,
                              end == 0 ? a.FixityI : a.FixityJ))
                continue;
            if (endNodeOf_.empty()) endNodeOf_.assign(2 * static_cast<size_t>(model.FrameCount) + 2, 0);
            endNodes_.push_back({f, end});
            endNodeOf_[2 * static_cast<size_t>(f) + static_cast<size_t>(end)] =
                static_cast<int>(endNodes_.size());
        }
    }
    const int elementsBelow = CountOf(model.FrameCount) + CountOf(model.ShellCount) + CountOf(model.SolidCount);
    springElementBase_ = elementsBelow;
    endElementBase_ = springElementBase_ + static_cast<int>(model.Springs.size());

    std::vector<double> values;
    for (const TJOINTSPRING& spring : model.Springs)
        for (size_t d = 1; d <= 6; ++d)
            if (spring.K[d] > 0) values.push_back(spring.K[d]);
    if (!endNodes_.empty() || constraints_.HasStiffRigidBeams()) {
        const auto [axial, bending] = LargestFrameStiffness(model);
        stiffTranslation_ = kStiffRatio * axial;
        stiffRotation_ = kStiffRatio * bending;
        values.push_back(stiffTranslation_);
        if (!endNodes_.empty()) values.push_back(stiffRotation_);
    }
    for (const auto& [f, end] : endNodes_) {
        const TFrameAssign& a =
            model.FrameAssigns[static_cast<size_t>(model.Frames[static_cast<size_t>(f)].Assign)];
        for (size_t d = 1; d <= 6; ++d) {
            const double k = end == 0 ? a.FixityI[d] : a.FixityJ[d];
            if (k > 0) values.push_back(k);
        }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    springValues_ = std::move(values);
    springMaterialBase_ = BlockBase(500, uniaxialBelow);
}

int TagPlan::FrameEndNode(int frame, int end) const {
    const size_t at = 2 * static_cast<size_t>(frame) + static_cast<size_t>(end);
    if (at < endNodeOf_.size() && endNodeOf_[at] != 0)
        return endBase_ + endNodeOf_[at];
    const TFRAME& f = model_.Frames[static_cast<size_t>(frame)];
    return JointNode(end == 0 ? f.NodeI : f.NodeJ);
}

int TagPlan::SpringMaterialTag(double stiffness) const {
    const auto it = std::lower_bound(springValues_.begin(), springValues_.end(), stiffness);
    if (it == springValues_.end() || *it != stiffness)
        throw InputError("No spring material of stiffness " + text::FormatGeneral(stiffness));
    return springMaterialBase_ + static_cast<int>(it - springValues_.begin()) + 1;
}

void TagPlan::PlanSolids(const TSettings& settings) {
    const TModel& model = model_;
    const int mats = CountOf(model.MatCount);
    const int solids = CountOf(model.SolidCount);
    if (mats < 1)
        throw InputError("The solids need a material (E and U of their nDMaterial), but the model "
                         "defines none");
    const std::vector<uint8_t> use = JointUses(model);

    // Joints of solids only have three dof; shared joints get a twin after the last joint.
    const int nodes = CountOf(model.NodeCount);
    dofs_.assign(static_cast<size_t>(nodes) + 1, 6);
    twins_.assign(static_cast<size_t>(nodes) + 1, 0);
    int nextTwin = BlockBase(nodes, nodes);
    for (int j = 1; j <= nodes; ++j) {
        const uint8_t how = use[static_cast<size_t>(j)];
        if (how == kUsedBySolid) {
            dofs_[static_cast<size_t>(j)] = 3;
            ++threeDofNodes_;
        } else if (how == (kUsedBySolid | kNeedsRotations)) {
            twins_[static_cast<size_t>(j)] = ++nextTwin;
            ++threeDofNodes_;
        }
    }

    std::set<int> unnamed;
    for (int i = 1; i <= solids; ++i) {
        const int secNo = model.Solids[static_cast<size_t>(i)].SecNo;
        if ((secNo < 1 || secNo > mats) && mats > 1) unnamed.insert(secNo);
        solidMats_[static_cast<size_t>(SolidMaterial(i))] = true;
    }
    for (int secNo : unnamed)
        warnings_.push_back({"", 0, "Solid property " + Num(secNo) + " is no material of the model",
                             "its solids are made of material 1 (" + model.Mats[1].Name + ")"});

    int moments = 0;
    for (int l = 1; l <= model.LoadCount; ++l) {
        const TLOAD& load = model.Loads[static_cast<size_t>(l)];
        if (load.Kind == kJointForce && JointDofs(load.Target) == 3 &&
            (load.MX != 0 || load.MY != 0 || load.MZ != 0))
            ++moments;
    }
    if (moments > 0)
        warnings_.push_back(
            {"", 0, Num(moments) + " joint load(s) put moments on joints that only solids use",
             "the moments are not written: these nodes have no rotations"});

    const int control = settings.ControlNode;
    for (int type : kDisplacementControlTypes)
        if (settings.AnalysisType == type && settings.ControlDof > 3 && JointDofs(control) == 3)
            throw InputError("Control DOF " + Num(settings.ControlDof) +
                             " is a rotation, but joint " + Num(control) +
                             " belongs to solids only, whose nodes have translations 1 to 3 only");
}

int TagPlan::JointDofs(int joint) const {
    if (joint < 1 || static_cast<size_t>(joint) >= dofs_.size()) return 6;
    return dofs_[static_cast<size_t>(joint)];
}

int TagPlan::TwinNode(int joint) const {
    if (joint < 1 || static_cast<size_t>(joint) >= twins_.size()) return 0;
    return twins_[static_cast<size_t>(joint)];
}

int TagPlan::SolidNode(int solid, int corner) const {
    const int joint = model_.Solids[static_cast<size_t>(solid)].N[static_cast<size_t>(corner)];
    const int twin = TwinNode(joint);
    return twin != 0 ? twin : JointNode(joint);
}

bool TagPlan::PlateUsesMaterial(int mat) const {
    return mat >= 1 && static_cast<size_t>(mat) < plateMats_.size() &&
           plateMats_[static_cast<size_t>(mat)];
}

bool TagPlan::SolidUsesMaterial(int mat) const {
    return mat >= 1 && static_cast<size_t>(mat) < solidMats_.size() &&
           solidMats_[static_cast<size_t>(mat)];
}

int TagPlan::SolidMaterial(int solid) const {
    const int secNo = model_.Solids[static_cast<size_t>(solid)].SecNo;
    return secNo >= 1 && secNo <= model_.MatCount ? secNo : 1;
}

} // namespace vandra
