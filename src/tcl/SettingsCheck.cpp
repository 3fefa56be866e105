#include "tcl/SettingsCheck.h"

#include "model/Errors.h"
#include "model/JointStability.h"
#include "model/NumberText.h"
#include "sections/Fibers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace vandra {
namespace {

size_t Slot(int index) {
    return static_cast<size_t>(index);
}

std::string Num(long long v) {
    return text::FormatInt(v);
}

// The joints of a diaphragm group: its slaves and its master.
bool IsValidJoint(const TModel& model, int joint) {
    return joint >= 1 && joint <= model.NodeCount && Slot(joint) < model.Nodes.size();
}

std::string SettingName(const char* label, const char* name) {
    return std::string(label) + " (" + name + ")";
}

[[noreturn]] void Outside(const std::string& setting, long long value, long long low,
                          long long high, const std::string& why = "") {
    throw InputError(setting + " " + Num(value) + " is outside the allowed range " + Num(low) +
                     ".." + Num(high) + why);
}

void CheckRange(const std::string& setting, long long value, long long low, long long high,
                const std::string& why = "") {
    if (value < low || value > high) Outside(setting, value, low, high, why);
}

bool UsesLoadCase(int type) {
    return type == kSingleLoadControl || type == kGravityPushover || type == kGravityTimeHistory;
}

bool UsesDisplacementControl(int type) {
    return type == kSingleDisplacementControl || type == kGravityPushover;
}

bool UsesDamping(int type) {
    return type == kTimeHistory || type == kGravityTimeHistory || type == kMultipleSupport;
}

void CheckLoadCase(const TModel& model, const std::string& setting, int value) {
    // With no case names the first case is still written, as an empty pattern.
    const int cases = std::max(CountOf(model.LoadCaseCount), 1);
    CheckRange(setting, value, 0, cases, " (the model's load cases, 0 for none)");
}

// Which degrees of freedom of a joint the script fixes: its restraints, and for a diaphragm
// master the three the diaphragm does not move.
bool IsFixed(const TModel& model, int joint, int dof) {
    if (model.Nodes[Slot(joint)].Restraint[Slot(dof)] != 0) return true;
    const int diaphs = std::min<int>(CountOf(model.DiaphCount), int(model.Diaphs.size()) - 1);
    for (int d = 1; d <= diaphs; ++d)
        if (model.Diaphs[Slot(d)].Master == joint && dof >= 3 && dof <= 5) return true;
    return false;
}

void CheckControl(const TModel& model, const TSettings& s) {
    const std::string node = SettingName("Control Node", "ControlNode");
    if (!IsValidJoint(model, s.ControlNode))
        Outside(node, s.ControlNode, 1, CountOf(model.NodeCount), " (the joints of the model)");
    CheckRange(SettingName("Control Dof", "ControlDof"), s.ControlDof, 1, 6);
    if (IsFixed(model, s.ControlNode, s.ControlDof))
        throw InputError("Control Dof (ControlDof) " + Num(s.ControlDof) + " of Control Node " +
                         Num(s.ControlNode) +
                         " is fixed: displacement control needs a free degree of freedom");
    // A joint's in-plane motion under a rigid diaphragm is its master's; the solver's
    // displacement control of such a degree of freedom pushes a wrong structure silently.
    const int diaphs = std::min<int>(CountOf(model.DiaphCount), int(model.Diaphs.size()) - 1);
    const bool inPlane = s.ControlDof == 1 || s.ControlDof == 2 || s.ControlDof == 6;
    for (int d = 1; d <= diaphs && inPlane; ++d) {
        const TDIAPH& diaph = model.Diaphs[Slot(d)];
        if (diaph.Master == 0) continue;
        for (int j = 1; j <= diaph.SlaveCount && Slot(j) < diaph.DiaNodes.size(); ++j)
            if (diaph.DiaNodes[Slot(j)] == s.ControlNode && s.ControlNode != diaph.Master)
                throw InputError("Control Dof (ControlDof) " + Num(s.ControlDof) +
                                 " of Control Node " + Num(s.ControlNode) +
                                 " is tied to rigid diaphragm " + Num(d) +
                                 ": control the same degree of freedom of its master, joint " +
                                 Num(diaph.Master));
    }
}

void CheckSections(const TModel& model, const TSettings& s) {
    const int sections = std::min<int>(CountOf(model.SectionCount), int(model.Sections.size()) - 1);
    bool usesIntegrationPoints = false, usesRebar = false;
    for (int k = 1; k <= sections; ++k) {
        const TSECTION& sec = model.Sections[Slot(k)];
        const std::string name = "Frame section " + Num(k) + " (" + sec.Name + "): ";
        CheckRange(name + "FrameType", sec.FrameType, kElasticBeamColumn, kElasticTimoshenkoBeam);
        CheckRange(name + "GeoTransf", sec.GeoTransf, kLinear, kCorotational);
        usesIntegrationPoints |=
            sec.FrameType == kNonlinearBeamColumn || sec.FrameType == kDispBeamColumn;
        usesRebar |= HasFiberSection(sec.FrameType) && sec.Shape == kShapeRectangle;
    }
    if (usesIntegrationPoints)
        CheckRange(SettingName("Force/Disp Beam Column numIntgrPts", "NumIntgrPts"), s.NumIntgrPts,
                   kMinIntegrationPoints, kMaxIntegrationPoints);
    if (usesRebar)
        CheckRange(SettingName("Rebar Material Number", "RebarMat"), s.RebarMat, 1,
                   CountOf(model.MatCount), " (the materials of the model)");
}

std::string MassText(int massDofs) {
    return "the model has " + Num(massDofs) +
           " degrees of freedom that carry mass (after its rigid diaphragms)";
}

void CheckModes(const TModel& model, const std::string& setting, int modes, bool damping) {
    const int most = MaxModes(model);
    if (modes >= 1 && modes <= most) return;
    const int massDofs = MassDofCount(model);
    std::string why = ": " + MassText(massDofs) + ", of which the solver can compute at most " +
                      Num(most) + " modes";
    if (massDofs > most)
        why += " (a model of more than " + Num(kMaxDenseEigenEquations / 6) +
               " joints gets the iterative eigen solver, which computes at most half as many "
               "modes as degrees of freedom carry mass)";
    if (damping)
        throw InputError(setting + " needs " + Num(modes) + " modes for its Rayleigh damping" +
                         why);
    if (most < 1) throw InputError(setting + " " + Num(modes) + " cannot be computed" + why);
    Outside(setting, modes, 1, most, why);
}

bool UsesRecordSettings(int type) {
    return type == kTimeHistory || type == kGravityTimeHistory;
}

// The record's direction, factor and time step, and the damping ratio (a ratio of 1 or more is
// no longer an oscillation).
void CheckGroundMotion(const TSettings& s) {
    const int type = s.AnalysisType;
    if (UsesRecordSettings(type)) {
        CheckRange(SettingName("Record Direction", "RecordDirection"), s.RecordDirection, 1, 3,
                   " (1 X, 2 Y, 3 Z)");
        if (!std::isfinite(s.RecordScale) || s.RecordScale == 0)
            throw InputError("Record Scale Factor (RecordScale) " +
                             text::FormatGeneral(s.RecordScale) + " must be a number other than 0");
        if (!std::isfinite(s.RecordDt) || !(s.RecordDt > 0))
            throw InputError("Record Time Step (RecordDt) " + text::FormatGeneral(s.RecordDt) +
                             " must be a positive number of seconds");
    }
    if (UsesDamping(type) && !(s.DampingRatio >= 0 && s.DampingRatio < 1))
        throw InputError("Damping Ratio (DampingRatio) " + text::FormatGeneral(s.DampingRatio) +
                         " is outside the allowed range 0..1 (1 excluded)");
}

const char* AnalysisLabel(int type) {
    static constexpr std::array<const char*, 8> kLabels = {
        "",
        "Single Load Control",
        "Single Displacement Control",
        "Gravity+PushOver",
        "Modal Analysis",
        "Time History Analysis",
        "D+L+Time Hist Analysis",
        "MultipleSupport Excitation",
    };
    return kLabels[Slot(type)];
}

} // namespace

int MassDofCount(const TModel& model) {
    const int nodes = std::min<int>(CountOf(model.NodeCount), int(model.Nodes.size()) - 1);
    const int diaphs = std::min<int>(CountOf(model.DiaphCount), int(model.Diaphs.size()) - 1);
    // The diaphragm that ties each joint, 0 for none.
    std::vector<int> tiedBy(Slot(std::max(nodes, 0)) + 1, 0);
    for (int d = 1; d <= diaphs; ++d) {
        const TDIAPH& diaph = model.Diaphs[Slot(d)];
        if (!IsValidJoint(model, diaph.Master)) continue;
        tiedBy[Slot(diaph.Master)] = d;
        for (int j = 1; j <= diaph.SlaveCount && Slot(j) < diaph.DiaNodes.size(); ++j)
            if (IsValidJoint(model, diaph.DiaNodes[Slot(j)]))
                tiedBy[Slot(diaph.DiaNodes[Slot(j)])] = d;
    }

    // Joints of solids may have no rotations in the script: their rotational masses are not
    // counted (an undercount only makes the eigen call safer).
    std::vector<bool> ofSolid(tiedBy.size(), false);
    const int solids = std::min<int>(CountOf(model.SolidCount), int(model.Solids.size()) - 1);
    for (int e = 1; e <= solids; ++e)
        for (int k = 1; k <= 8; ++k) {
            const int joint = model.Solids[Slot(e)].N[Slot(k)];
            if (joint >= 1 && joint <= nodes) ofSolid[Slot(joint)] = true;
        }

    // The directions an equal constraint ties to another joint: a tie to a restrained joint
    // fixes them, a tie to a joint with mass merges them with it (bits 1 << (dof - 1)).
    std::vector<unsigned> merged(tiedBy.size(), 0);
    const int ties = std::min<int>(CountOf(model.EqualDofCount), int(model.EqualDofs.size()) - 1);
    for (int t = 1; t <= ties; ++t) {
        const TEQUALDOF& tie = model.EqualDofs[Slot(t)];
        if (!IsValidJoint(model, tie.Retained) || !IsValidJoint(model, tie.Constrained)) continue;
        const TNODE& retained = model.Nodes[Slot(tie.Retained)];
        for (int dof = 1; dof <= 6; ++dof)
            if (tie.Dof[Slot(dof)] &&
                (retained.Restraint[Slot(dof)] != 0 || retained.Mass[Slot(dof)] != 0))
                merged[Slot(tie.Constrained)] |= 1u << (dof - 1);
    }

    int count = 0;
    std::vector<Matrix3> groupMass(Slot(std::max(diaphs, 0)) + 1, Matrix3{});
    for (int i = 1; i <= nodes; ++i) {
        const TNODE& node = model.Nodes[Slot(i)];
        const int d = tiedBy[Slot(i)];
        // A master's vertical translation and tilts are fixed by the diaphragm's fix line.
        const bool isMaster = d != 0 && model.Diaphs[Slot(d)].Master == i;
        for (int dof = 1; dof <= 6; ++dof) {
            const bool inPlane = dof == 1 || dof == 2 || dof == 6;
            if (d != 0 && inPlane) continue; // carried by the master below
            if (dof > 3 && ofSolid[Slot(i)]) continue;
            const bool fixed = node.Restraint[Slot(dof)] != 0 ||
                               (isMaster && dof >= 3 && dof <= 5) ||
                               (merged[Slot(i)] & (1u << (dof - 1))) != 0;
            if (node.Mass[Slot(dof)] != 0 && !fixed) ++count;
        }
        if (d == 0) continue;
        // A joint at (dx, dy) from the master moves by (ux - dy rz, uy + dx rz).
        const TNODE& master = model.Nodes[Slot(model.Diaphs[Slot(d)].Master)];
        const double dx = node.X - master.X, dy = node.Y - master.Y;
        const std::array<double, 3> a{1, 0, -dy}, b{0, 1, dx};
        Matrix3& m = groupMass[Slot(d)];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                m[r][c] +=
                    std::abs(node.Mass[1]) * a[r] * a[c] + std::abs(node.Mass[2]) * b[r] * b[c];
        m[2][2] += std::abs(node.Mass[6]);
    }
    for (int d = 1; d <= diaphs; ++d) {
        const int master = model.Diaphs[Slot(d)].Master;
        if (!IsValidJoint(model, master) || tiedBy[Slot(master)] != d) continue;
        Matrix3 m = groupMass[Slot(d)];
        // A restrained master translation or twist carries nothing.
        constexpr std::array<int, 3> kDofs{1, 2, 6};
        for (int r = 0; r < 3; ++r)
            if (model.Nodes[Slot(master)].Restraint[Slot(kDofs[Slot(r)])] != 0)
                for (int c = 0; c < 3; ++c)
                    m[r][c] = m[c][r] = 0;
        count += RankOf(m);
    }
    return count;
}

int MaxModes(const TModel& model) {
    const int massDofs = MassDofCount(model);
    const long long equations = 6LL * CountOf(model.NodeCount);
    return equations <= kMaxDenseEigenEquations ? massDofs : massDofs / 2;
}

EigenSolver EigenSolverFor(const TModel& model, int modes) {
    // The iterative solver builds a basis of twice the modes asked for, which the degrees of
    // freedom that carry mass must span.
    return 2LL * modes <= MassDofCount(model) ? EigenSolver::kDefault : EigenSolver::kDense;
}

void CheckSettings(const TModel& model, const TSettings& s) {
    const int type = s.AnalysisType;
    CheckRange(SettingName("Analysis Type", "AnalysisType"), type, kSingleLoadControl,
               kMultipleSupport);
    if (s.LoadSteps < 1) throw InputError("Load Steps must be at least 1");
    if (UsesLoadCase(type)) CheckLoadCase(model, SettingName("Load Case", "LoadCase"), s.LoadCase);
    if (UsesDisplacementControl(type))
        CheckLoadCase(model, SettingName("Load Vector", "LoadVector"), s.LoadVector);
    if (type == kGravityPushover && s.LoadCase == s.LoadVector)
        throw InputError("Gravity+PushOver uses load case " + Num(s.LoadCase) +
                         " for both the gravity loads (LoadCase) and the push (LoadVector): "
                         "choose a different push vector (Load Vector)");
    if (UsesDisplacementControl(type)) CheckControl(model, s);
    CheckSections(model, s);
    if (type == kModal)
        CheckModes(model, SettingName("Modal Number", "ModalNumber"), ModesToCompute(model, s),
                   false);
    if (UsesDamping(type)) CheckModes(model, AnalysisLabel(type), kDampingModes, true);
    CheckGroundMotion(s);
    if (type == kMultipleSupport && CountOf(model.NodeCount) < kMultipleSupportJoints)
        throw InputError(std::string(AnalysisLabel(type)) + " imposes motions on joints 1 to " +
                         Num(kMultipleSupportJoints) + ", but the model has " +
                         Num(CountOf(model.NodeCount)) + " joints");
}

int ModesToCompute(const TModel& model, const TSettings& settings) {
    return settings.ModalNumber != 0 ? settings.ModalNumber
                                     : std::min(kAutomaticModes, MaxModes(model));
}

bool AnalysisUses(int type, std::string_view setting) {
    for (std::string_view s : {"LoadCase", "LoadSteps", "LoadFactor"})
        if (setting == s) return UsesLoadCase(type);
    for (std::string_view s : {"LoadVector", "ControlNode", "ControlDof", "ControlDisp",
                               "AnalysisStep"})
        if (setting == s) return UsesDisplacementControl(type);
    if (setting == "ModalNumber") return type == kModal;
    for (std::string_view s : {"RecordFile", "RecordDt", "RecordScale", "RecordDirection"})
        if (setting == s) return UsesRecordSettings(type);
    if (setting == "DampingRatio") return UsesDamping(type);
    return true;
}

int DefaultControlJoint(const TModel& model, int dof) {
    const int nodes = std::min<int>(CountOf(model.NodeCount), int(model.Nodes.size()) - 1);
    const int diaphs = std::min<int>(CountOf(model.DiaphCount), int(model.Diaphs.size()) - 1);
    std::vector<bool> tied(Slot(std::max(nodes, 0)) + 1, false), master(tied.size(), false);
    for (int d = 1; d <= diaphs; ++d) {
        const TDIAPH& diaph = model.Diaphs[Slot(d)];
        if (!IsValidJoint(model, diaph.Master)) continue;
        master[Slot(diaph.Master)] = true;
        for (int j = 1; j <= diaph.SlaveCount && Slot(j) < diaph.DiaNodes.size(); ++j)
            if (IsValidJoint(model, diaph.DiaNodes[Slot(j)]))
                tied[Slot(diaph.DiaNodes[Slot(j)])] = true;
    }
    const bool anyMaster = std::find(master.begin(), master.end(), true) != master.end();
    int best = 0;
    for (int i = 1; i <= nodes; ++i) {
        const bool candidate = anyMaster ? master[Slot(i)]
                                         : !tied[Slot(i)] && dof >= 1 && dof <= 6 &&
                                               !IsFixed(model, i, dof);
        if (candidate && (best == 0 || model.Nodes[Slot(i)].Z > model.Nodes[Slot(best)].Z))
            best = i;
    }
    return best;
}

void ChooseSettingsForModel(const TModel& model, TSettings& settings) {
    if (const int joint = DefaultControlJoint(model, settings.ControlDof); joint != 0)
        settings.ControlNode = joint;
    const int most = MaxModes(model);
    if (most >= 1 && settings.ModalNumber > most) settings.ModalNumber = most;
}

void AddSettingsWarnings(const TModel& model, const TSettings& s, WarningList& warnings) {
    if (s.AnalysisType != kMultipleSupport) return;
    for (int j = 1; j <= kMultipleSupportJoints; ++j) {
        if (IsValidJoint(model, j) && model.Nodes[Slot(j)].Restraint[1] != 0) continue;
        warnings.push_back({"", 0,
                            "MultipleSupport Excitation imposes ground motions on joints 1 to 4 "
                            "in direction 1, but joint " +
                                Num(j) + " is not restrained in direction 1",
                            "the imposedMotion lines were written as they are: edit them to name "
                            "the supports of the model"});
    }
}

} // namespace vandra
