// Load patterns and the analysis commands of the chosen analysis type.
#include "tcl/ResultRecorders.h"
#include "tcl/ScriptWriters.h"
#include "tcl/SettingsCheck.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace vandra {

using namespace script;

namespace {

// The steps of dt the multiple-support template runs (its records' length).
constexpr int kTemplateSteps = 1000;

using Vec = std::array<double, 3>;

Vec Cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Norm(const Vec& a) {
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// Both ends of a rigid beam stand where the linked joint stands.
Vec WrittenPoint(const TModel& model, int joint) {
    const TNODE& own = model.Nodes[Slot(joint)];
    const TNODE& at = own.LinkNode == 0 ? own : At(model.Nodes, own.LinkNode);
    return {at.X, at.Y, at.Z};
}

int FrameTypeOfLoad(const TModel& model, const TLOAD& load) {
    return At(model.Sections, model.Frames[Slot(load.Target)].SecIdx).FrameType;
}

bool IsTruss(int frameType) {
    return frameType == kTruss || frameType == kCorotTruss;
}

// The whole force (global X, Y, Z) of a uniform load along a truss: its intensity times the
// length, along the element's x (direction 1), z (direction 2) or minus y (direction 3), the axes
// a beam's geomTransf would give it (y = axis 2 x x, z = x x y). False when the truss has no
// length or its axis 2 runs along it.
bool TrussLoadForce(const TModel& model, const TLOAD& load, Vec& force) {
    const TFRAME& frame = model.Frames[Slot(load.Target)];
    const Vec i = WrittenPoint(model, frame.NodeI), j = WrittenPoint(model, frame.NodeJ);
    const Vec d = {j[0] - i[0], j[1] - i[1], j[2] - i[2]};
    const double length = Norm(d);
    if (!(length > 0)) return false;
    const Vec x = {d[0] / length, d[1] / length, d[2] / length};
    Vec y = Cross({frame.Axis2X, frame.Axis2Y, frame.Axis2Z}, x);
    const double ny = Norm(y);
    if (load.Dir != 1 && !(ny > 1e-12)) return false;
    Vec along;
    if (load.Dir == 1) {
        along = x;
    } else {
        y = {y[0] / ny, y[1] / ny, y[2] / ny};
        const Vec z = Cross(x, y);
        along = load.Dir == 2 ? z : Vec{-y[0], -y[1], -y[2]};
    }
    // A component of the unit direction within rounding of 0 (axis 2 from the angle's sine and
    // cosine) is 0, not a stray 1e-13 of the load in the script.
    for (size_t c = 0; c < 3; ++c)
        force[c] = std::abs(along[c]) < 1e-12 ? 0 : load.FX * length * along[c];
    return true;
}

// Why a load is left out of its pattern, or nullptr when it is written. A load on a joint or a
// frame element that the script does not define would stop the solver; a rigid link and a truss
// take no load along their length (the solver ignores it, "load type unknown").
const char* SkipReason(const TModel& model, const TLOAD& load) {
    if (load.Kind == kJointForce && (load.Target < 1 || load.Target > CountOf(model.NodeCount)))
        return "acts on a joint that does not exist";
    if (load.Kind == kFrameDistributed) {
        if (load.Target < 1 || load.Target > CountOf(model.FrameCount))
            return "acts on a frame that does not exist";
        const int sec = model.Frames[Slot(load.Target)].SecIdx;
        if (sec < 1 || sec > CountOf(model.SectionCount))
            return "acts on a frame whose section matches no frame section, so it has no element";
        const int type = FrameTypeOfLoad(model, load);
        if (type == kRigidBeam) return "acts on a rigid link, which takes no load along its length";
        Vec force;
        if (IsTruss(type) && !TrussLoadForce(model, load, force))
            return "acts on a truss without length or across one whose local axis 2 runs along it";
    }
    return nullptr;
}

// The share of a distributed load that falls on the rigid end zones of its frame: the element
// spans only the rest, so the load of each zone goes to its joint as a force and the moment of
// that force about the joint.
void RigidZoneLoads(const TModel& model, const TagPlan& tags, const TLOAD& load,
                    ScriptLineList& lines) {
    const TFRAME& frame = model.Frames[Slot(load.Target)];
    const TFrameAssign& a = At(model.FrameAssigns, frame.Assign);
    if (a.RigidI == 0 && a.RigidJ == 0) return;
    const FrameAxes axes = FrameAxesOf(model, frame);
    const std::array<double, 3>& dir = load.Dir == 1 ? axes.E1 : load.Dir == 2 ? axes.E2 : axes.E3;
    for (int end = 0; end < 2; ++end) {
        const double length = end == 0 ? a.RigidI : a.RigidJ;
        if (length == 0) continue;
        const double arm = (end == 0 ? 0.5 : -0.5) * length;
        std::array<double, 3> r{}, f{};
        for (size_t k = 0; k < 3; ++k) {
            r[k] = arm * axes.E1[k] + a.Offset2 * axes.E2[k] + a.Offset3 * axes.E3[k];
            f[k] = load.FX * length * dir[k];
        }
        const int joint = end == 0 ? frame.NodeI : frame.NodeJ;
        Line(lines, "load %D %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E",
             {tags.JointNode(joint), f[0], f[1], f[2], r[1] * f[2] - r[2] * f[1],
              r[2] * f[0] - r[0] * f[2], r[0] * f[1] - r[1] * f[0]});
    }
}

// A joint load of three forces (a node of solids has no rotations to load).
void JointLoadLine(const TagPlan& tags, int joint, const Vec& f, const Vec& m,
                   ScriptLineList& lines) {
    if (tags.JointDofs(joint) == 3)
        Line(lines, "load %D %#0.4E %#0.4E %#0.4E", {tags.JointNode(joint), f[0], f[1], f[2]});
    else
        Line(lines, "load %D %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E",
             {tags.JointNode(joint), f[0], f[1], f[2], m[0], m[1], m[2]});
}

bool IsCaseKnown(const TModel& model, int c) {
    return c >= 1 && c <= model.LoadCaseCount && c < static_cast<int>(model.LoadCaseNames.size());
}

// The pattern of load case c. A case index outside the load case names gives an empty name and
// an empty pattern.
void LoadPattern(const TModel& model, const TagPlan& tags, int c, ScriptLineList& lines) {
    const bool known = IsCaseKnown(model, c);
    Line(lines, "## Load Case = %s", {known ? InertName(model.LoadCaseNames[Slot(c)]) : ""});
    Line(lines, "pattern Plain %D Linear {", {tags.PlainPattern(c)});
    const int loads = known ? CountOf(model.LoadCount) : 0;
    for (int l = 1; l <= loads; ++l) {
        const TLOAD& load = model.Loads[Slot(l)];
        if (load.CaseIdx != c || SkipReason(model, load) != nullptr) continue;
        if (load.Kind == kJointForce) {
            JointLoadLine(tags, load.Target, {load.FX, load.FY, load.FZ},
                          {load.MX, load.MY, load.MZ}, lines);
        } else if (load.Kind == kFrameDistributed && IsTruss(FrameTypeOfLoad(model, load))) {
            // Half the load at each end joint, as a truss carries it to them.
            Vec force;
            TrussLoadForce(model, load, force);
            const Vec half = {force[0] / 2, force[1] / 2, force[2] / 2};
            const TFRAME& frame = model.Frames[Slot(load.Target)];
            JointLoadLine(tags, frame.NodeI, half, {0, 0, 0}, lines);
            JointLoadLine(tags, frame.NodeJ, half, {0, 0, 0}, lines);
        } else if (load.Kind == kFrameDistributed) {
            // Local 2 of the model is the element's z; local 3 points opposite to its y.
            if (load.Dir == 1)
                Line(lines, "eleLoad -ele %D -type -beamUniform 0 0 %#0.4E",
                     {tags.FrameElement(load.Target), load.FX});
            else if (load.Dir == 2)
                Line(lines, "eleLoad -ele %D -type -beamUniform 0 %#0.4E 0",
                     {tags.FrameElement(load.Target), load.FX});
            else if (load.Dir == 3)
                Line(lines, "eleLoad -ele %D -type -beamUniform %#0.4E 0 0",
                     {tags.FrameElement(load.Target), -load.FX});
            RigidZoneLoads(model, tags, load, lines);
        }
    }
    Line(lines, "}");
}

bool HasRigidDiaphragm(const TModel& model) {
    const int diaphs = CountOf(model.DiaphCount);
    for (int d = 1; d <= diaphs; ++d)
        if (model.Diaphs[Slot(d)].SlaveCount >= 1) return true;
    return false;
}

// `analyze` one step at a time, each step done said on the solver's output ("Step 12 of 400"), so
// that a long run shows how far it got (flushed, for a solver whose puts goes to a buffered
// stream); a step that fails ends the stage, as `analyze N` does.
void AnalyzeSteps(int steps, std::string_view stepArguments, ScriptLineList& lines) {
    Line(lines, "for {set step 1} {$step <= %d} {incr step} {", {steps});
    Line(lines, "    if {[analyze 1%s] != 0} break", {std::string(stepArguments)});
    Line(lines, "    puts \"Step $step of %d\"", {steps});
    Line(lines, "    flush stdout");
    Line(lines, "}");
}

// The static analysis commands before the stage's integrator. Rigid diaphragms need the
// transformation handler; the plain handler ignores them.
void StaticCommands(const TModel& model, ScriptLineList& lines) {
    Line(lines, "puts \"analysis\"");
    Line(lines, HasRigidDiaphragm(model) ? "constraints Transformation" : "constraints Plain");
    Line(lines, "numberer Plain");
    Line(lines, "system BandGeneral");
    Line(lines, "test EnergyIncr 1.0e-6 200");
    Line(lines, "algorithm Newton");
}

void LoadControlStage(const TModel& model, const TSettings& settings, ScriptLineList& lines) {
    StaticCommands(model, lines);
    Line(lines, "integrator LoadControl %#0.4E", {settings.LoadFactor / settings.LoadSteps});
    Line(lines, "analysis Static");
    AnalyzeSteps(settings.LoadSteps, "", lines);
}

void DisplacementControlStage(const TModel& model, const TSettings& settings, const TagPlan& tags,
                              ScriptLineList& lines) {
    StaticCommands(model, lines);
    Line(lines, "integrator DisplacementControl %d %d %#0.4E",
         {tags.JointNode(settings.ControlNode), settings.ControlDof, settings.ControlDisp});
    Line(lines, "analysis Static");
    AnalyzeSteps(settings.AnalysisStep, "", lines);
}

void Gravity(const TModel& model, const TSettings& settings, const TagPlan& tags,
             ScriptLineList& lines) {
    Line(lines, "puts \"gravity\"");
    LoadPattern(model, tags, settings.LoadCase, lines);
    LoadControlStage(model, settings, lines);
}

// The dense solver computes as many modes as degrees of freedom carry mass; the default one only
// half as many (GenerateScript has checked that the chosen one delivers them).
bool IsDense(const TModel& model, int modes) {
    return EigenSolverFor(model, modes) == EigenSolver::kDense;
}

void ModalBlock(const TModel& model, const TSettings& settings, ScriptLineList& lines) {
    const int modes = ModesToCompute(model, settings);
    Line(lines, "set numModes %d", {modes});
    Line(lines, IsDense(model, modes) ? "set lambda [eigen -fullGenLapack $numModes]"
                                      : "set lambda [eigen  $numModes]");
    for (std::string_view line : {
             "set period \"Periods.txt\"",
             "set Periods [open $period \"w\"]",
             "puts $Periods \" $lambda\"",
             "close $Periods",
             "record",
         })
        Line(lines, line);
    if (settings.RecModalReport) WriteModalReport(lines);
}

// Rayleigh damping of the given ratio fitted to the first two modes.
void DampingBlock(const TModel& model, double damping, ScriptLineList& lines) {
    Line(lines, " ");
    Line(lines, "set xDamp %s;", {text::FormatGeneral(damping)});
    for (std::string_view line : {"set nEigenI 1;", "set nEigenJ 2;"})
        Line(lines, line);
    Line(lines, IsDense(model, kDampingModes)
                    ? "set lambdaN [eigen -fullGenLapack [expr $nEigenJ]];"
                    : "set lambdaN [eigen [expr $nEigenJ]];");
    for (std::string_view line : {
             "set lambdaI [lindex $lambdaN [expr $nEigenI-1]];",
             "set lambdaJ [lindex $lambdaN [expr $nEigenJ-1]];",
             "set omegaI [expr pow($lambdaI,0.5)]; ",
             "set omegaJ [expr pow($lambdaJ,0.5)];",
             "set alphaM [expr $xDamp*(2*$omegaI*$omegaJ)/($omegaI+$omegaJ)]; ",
             "set betaKcurr [expr 2.*$xDamp/($omegaI+$omegaJ)];   ",
             "rayleigh $alphaM $betaKcurr 0 0  ",
             "  ",
         })
        Line(lines, line);
}

// The chosen record, scaled from g to the model's units, shaking the ground in its direction, then
// the transient analysis through all its values at its time step. The pattern and its series share
// the tag the counter reaches.
void UniformExcitationBlocks(const ScriptContext& context, ScriptLineList& lines) {
    const TSettings& settings = context.settings;
    if (context.record == nullptr) throw InputError("Time History Analysis needs a record");
    const ScriptRecord& record = *context.record;
    Line(lines, "set IDloadTag %d;", {context.tags.GroundMotionCounterStart()});
    Line(lines, "set iGMfile \"%s\";", {record.copyName});
    Line(lines, "set iGMdirection \"%d\"; ", {settings.RecordDirection});
    Line(lines, "set iGMfact \"%s\";  ",
         {text::FormatGeneral(settings.RecordScale * GravityInModelUnits(context.model))});
    Line(lines, "set dt %s;   ", {text::FormatGeneral(record.dt)});
    for (std::string_view line : {
             "foreach GMdirection $iGMdirection GMfile $iGMfile GMfact $iGMfact { ",
             "incr IDloadTag; ",
             "set GMfatt [expr 1*$iGMfact];  ",
             "set AccelSeries \"Series $IDloadTag -dt $dt -filePath $iGMfile -factor  $GMfatt\";",
             "pattern UniformExcitation  $IDloadTag  $GMdirection -accel  $AccelSeries; ",
             "}  ",
             "  ",
             "constraints Transformation; ",
             "numberer Plain;  ",
             "system UmfPack; ",
             "test EnergyIncr 1.0e-4 200; ",
             "algorithm Newton ",
             "integrator Newmark 0.5 0.25 ",
             "analysis Transient",
         })
        Line(lines, line);
    AnalyzeSteps(record.steps, " $dt", lines);
}

// Two displacement records from DM1X.txt imposed at joints 1, 3 and 2, 4, then the analysis. The
// general sparse solver: with the imposed motions Newton stalls on the SPD solver's solutions.
void MultipleSupportBlock(const TagPlan& tags, ScriptLineList& lines) {
    for (std::string_view line :
         {"set iGMfile \"DM1X.txt\"; ", "set iGMfact \"1\";", "set dt 0.02;"})
        Line(lines, line);
    Line(lines, "set dispSeries1 \"Series %d -dt $dt -filePath $iGMfile -factor  $iGMfact\";",
         {tags.MultiSupportSeries(1)});
    for (std::string_view line :
         {"  ", "set iGMfile \"DM1X.txt\";", "set iGMfact \"1\";", "set dt 0.02; "})
        Line(lines, line);
    Line(lines, "set dispSeries2 \"Series %d -dt $dt -filePath $iGMfile -factor  $iGMfact\";",
         {tags.MultiSupportSeries(2)});
    Line(lines, "  ");
    Line(lines, "pattern MultiSupport  %d   { ", {tags.MultiSupportPattern(1)});
    Line(lines, "    groundMotion 1 Plain -disp $dispSeries1");
    Line(lines, "    imposedMotion %d 1 1  ", {tags.JointNode(1)});
    Line(lines, "    imposedMotion %d 1 1  ", {tags.JointNode(3)});
    Line(lines, " }");
    Line(lines, "pattern MultiSupport  %d   {", {tags.MultiSupportPattern(2)});
    Line(lines, "    groundMotion 2 Plain -disp $dispSeries2");
    Line(lines, "    imposedMotion %d 1 2 ", {tags.JointNode(2)});
    Line(lines, "    imposedMotion %d 1 2 ", {tags.JointNode(4)});
    for (std::string_view line : {
             " }",
             "  ",
             "constraints Transformation;",
             "numberer Plain; ",
             "system UmfPack;  ",
             "test EnergyIncr 1.0e-4 200; ",
             "algorithm Newton ",
             "integrator Newmark 0.5 0.25",
             "analysis Transient",
         })
        Line(lines, line);
    AnalyzeSteps(kTemplateSteps, " $dt", lines);
}

} // namespace

void WriteLoadsAndAnalysis(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TSettings& settings = context.settings;
    const TagPlan& tags = context.tags;
    switch (settings.AnalysisType) {
    case kSingleLoadControl:
        Line(lines, "puts \"loading\"");
        LoadPattern(model, tags, settings.LoadCase, lines);
        LoadControlStage(model, settings, lines);
        break;
    case kSingleDisplacementControl:
        Line(lines, "puts \"loading\"");
        LoadPattern(model, tags, settings.LoadVector, lines);
        DisplacementControlStage(model, settings, tags, lines);
        break;
    case kGravityPushover:
        Gravity(model, settings, tags, lines);
        // The push starts from the gravity loads held constant.
        Line(lines, "loadConst -time 0.0");
        Line(lines, "puts \"pushover\"");
        LoadPattern(model, tags, settings.LoadVector, lines);
        DisplacementControlStage(model, settings, tags, lines);
        break;
    case kModal:
        ModalBlock(model, settings, lines);
        break;
    case kTimeHistory:
        DampingBlock(model, settings.DampingRatio, lines);
        UniformExcitationBlocks(context, lines);
        break;
    case kGravityTimeHistory:
        Gravity(model, settings, tags, lines);
        Line(lines, "loadConst -time 0.0");
        // The transient analysis replaces the static one, which the solver otherwise warns about.
        Line(lines, "wipeAnalysis");
        DampingBlock(model, settings.DampingRatio, lines);
        UniformExcitationBlocks(context, lines);
        break;
    case kMultipleSupport:
        DampingBlock(model, settings.DampingRatio, lines);
        MultipleSupportBlock(tags, lines);
        break;
    default: // GenerateScript refuses any other type
        break;
    }
}

void WriteGroundMotionPrelude(const ScriptContext& context, double damping, ScriptLineList& lines) {
    if (context.settings.AnalysisType == kGravityTimeHistory) {
        Gravity(context.model, context.settings, context.tags, lines);
        Line(lines, "loadConst -time 0.0");
        Line(lines, "wipeAnalysis");
    }
    DampingBlock(context.model, damping, lines);
}

void AddSkippedLoadWarnings(const TModel& model, const TSettings& settings, WarningList& warnings) {
    const int type = settings.AnalysisType;
    const bool gravity =
        type == kSingleLoadControl || type == kGravityPushover || type == kGravityTimeHistory;
    const bool push = type == kSingleDisplacementControl || type == kGravityPushover;
    const int loads = CountOf(model.LoadCount);
    for (int l = 1; l <= loads; ++l) {
        const TLOAD& load = model.Loads[Slot(l)];
        const bool written =
            IsCaseKnown(model, load.CaseIdx) && ((gravity && load.CaseIdx == settings.LoadCase) ||
                                                 (push && load.CaseIdx == settings.LoadVector));
        if (!written) continue;
        const char* reason = SkipReason(model, load);
        const std::string what =
            text::Format("Load %d of load case \"%s\" (on %s %d) ",
                         {l, InertName(model.LoadCaseNames[Slot(load.CaseIdx)]),
                          load.Kind == kJointForce ? "joint" : "frame", load.Target});
        if (reason != nullptr)
            warnings.push_back({"", 0, what + reason, "it was left out of the script"});
        else if (load.Kind == kFrameDistributed && IsTruss(FrameTypeOfLoad(model, load)))
            warnings.push_back({"", 0,
                                what + "acts along a truss, which takes no load along its length",
                                "half of it was written as a load on each end joint"});
    }
}

} // namespace vandra
