// The Tcl of a suite's runs: the nodes a run watches and the procedure that steps through a record.
#include "model/Errors.h"
#include "post/Storeys.h"
#include "suite/SuiteFolder.h"
#include "tcl/ResultRecorders.h"
#include "tcl/ScriptWriters.h"

#include <string_view>

namespace vandra::suite {
namespace {

using script::Line;

// Node tags a list line holds.
constexpr size_t kTagsPerLine = 20;

// "set name {...}": the tags as a Tcl list over as many lines as they need.
void TagList(const char* name, const std::vector<int>& tags, ScriptLineList& lines) {
    if (tags.size() <= kTagsPerLine) {
        std::string list;
        for (int tag : tags)
            list += (list.empty() ? "" : " ") + text::FormatInt(tag);
        Line(lines, "set %s {%s}", {name, list});
        return;
    }
    Line(lines, "set %s {", {name});
    for (size_t first = 0; first < tags.size(); first += kTagsPerLine) {
        std::string list;
        for (size_t k = first; k < std::min(tags.size(), first + kTagsPerLine); ++k)
            list += " " + text::FormatInt(tags[k]);
        Line(lines, "%s", {list});
    }
    Line(lines, "}");
}

// The peaks after each converged step: the storey drift ratios in X and Y, the roof's
// displacement along the motion relative to the ground (which a uniform excitation leaves at rest),
// and the sum of the base reactions along it.
void PeakProcedure(const PeakNodes& nodes, int direction, ScriptLineList& lines) {
    for (std::string_view line : {
             "proc TrackPeaks {} {",
             "    global driftPairs roofNodes baseNodes peakDrift peakRoof peakBaseShear",
             "    foreach {top bottom height} $driftPairs {",
             "        foreach dof {1 2} {",
             "            set d [expr {abs([nodeDisp $top $dof] - [nodeDisp $bottom $dof]) / "
             "$height}]",
             "            if {$d > $peakDrift} { set peakDrift $d }",
             "        }",
             "    }",
         })
        Line(lines, line);
    // The ground moves with the supports: its displacement is the first moved support's.
    if (!nodes.imposed.empty())
        Line(lines, "    set ground [nodeDisp %d %d]", {nodes.imposed.front(), direction});
    else
        Line(lines, "    set ground 0.0");
    Line(lines, "    foreach node $roofNodes {");
    Line(lines, "        set u [expr {abs([nodeDisp $node %d] - $ground)}]", {direction});
    for (std::string_view line : {
             "        if {$u > $peakRoof} { set peakRoof $u }",
             "    }",
             "    reactions",
             "    set shear 0.0",
             "    foreach node $baseNodes {",
         })
        Line(lines, line);
    Line(lines, "        set shear [expr {$shear + [nodeReaction $node %d]}]", {direction});
    for (std::string_view line : {
             "    }",
             "    if {abs($shear) > $peakBaseShear} { set peakBaseShear [expr {abs($shear)}] }",
             "}",
         })
        Line(lines, line);
}

// The pattern of the record: a uniform excitation of the ground, or the record's motion imposed
// on each support.
void GroundPattern(const TagPlan& tags, const PeakNodes& nodes, int direction,
                   ScriptLineList& lines) {
    const int tag = tags.GroundMotionCounterStart() + 1;
    Line(lines, "    timeSeries Path %d -dt $dt -filePath $recordFile -factor $factor", {tag});
    if (nodes.imposed.empty()) {
        Line(lines, "    pattern UniformExcitation %d %d -accel %d", {tag, direction, tag});
        return;
    }
    Line(lines, "    pattern MultiSupport %d {", {tag});
    Line(lines, "        groundMotion 1 Plain -accel %d -dtInt $dt", {tag});
    for (int node : nodes.imposed)
        Line(lines, "        imposedMotion %d %d 1", {node, direction});
    Line(lines, "    }");
}

} // namespace

PeakNodes PeakNodesOf(const TModel& model, const TagPlan& tags, int direction, int analysisType) {
    PeakNodes nodes;
    const TLevels levels = FindLevels(model);
    const std::vector<std::vector<TStoreyPair>> pairs = StoreyPairs(model, levels);
    for (size_t s = 0; s < pairs.size(); ++s) {
        const double height = levels.Levels[s + 1].Z - levels.Levels[s].Z;
        for (const TStoreyPair& p : pairs[s])
            nodes.pairs.push_back({tags.JointNode(p.Top), tags.JointNode(p.Bottom), height});
    }
    if (nodes.pairs.empty())
        throw InputError("The model has no storey: no joint stands above a joint of a lower "
                         "level, so a run would have no drift");
    for (int j : levels.Levels.back().Joints)
        nodes.roof.push_back(tags.JointNode(j));
    // The supports along the direction, and the nodes tied to them: a joint restrained only
    // across it (out of a frame's plane) is no support of the base shear, and in a free degree of
    // freedom its "reaction" would be its inertia.
    for (const ReactionNode& r : ReactionNodes(model, tags))
        if (model.Nodes[script::Slot(r.Joint)].Restraint[script::Slot(direction)] != 0)
            nodes.base.push_back(r.Tag);
    if (nodes.base.empty())
        throw InputError("No joint of the model is restrained along direction " +
                         text::FormatInt(direction) + ", so a run would have no base shear");
    if (analysisType == kMultipleSupport) {
        for (int j = 1; j <= CountOf(model.NodeCount); ++j)
            if (model.Nodes[script::Slot(j)].Restraint[script::Slot(direction)] != 0)
                nodes.imposed.push_back(tags.JointNode(j));
    }
    return nodes;
}

void WriteGroundMotionScript(const TModel& model, const TSettings& settings,
                             const ScriptLineList& prelude, const PeakNodes& nodes, int direction,
                             ScriptLineList& lines) {
    const TagPlan tags(model, settings);
    for (std::string_view line : {
             "# What every run of the suite does: the lines before its record, the nodes whose",
             "# motion gives the peaks, and RunGroundMotion, which applies the run's record, steps",
             "# through it and writes outcome.txt (motion/Running.md).",
         })
        Line(lines, line);
    for (std::string_view line : prelude)
        Line(lines, line);
    Line(lines, "# Storey drifts: the top joint, the joint below it, the storey's height.");
    Line(lines, "set driftPairs {");
    for (const DriftPair& p : nodes.pairs)
        Line(lines, " %d %d %s", {p.top, p.bottom, text::FormatGeneral(p.height)});
    Line(lines, "}");
    TagList("roofNodes", nodes.roof, lines);
    TagList("baseNodes", nodes.base, lines);
    PeakProcedure(nodes, direction, lines);

    for (std::string_view line : {
             "# The record (values in g) times factor, dt apart, for steps steps. A step that does",
             "# not converge is tried again in ten; when one of those fails the run stops there.",
             "proc RunGroundMotion {recordFile dt steps factor} {",
             "    global peakDrift peakRoof peakBaseShear",
             "    if {![file isfile $recordFile]} { error \"The record file $recordFile is "
             "missing\" }",
         })
        Line(lines, line);
    GroundPattern(tags, nodes, direction, lines);
    for (std::string_view line : {
             "    constraints Transformation",
             "    numberer Plain",
             "    system UmfPack",
             "    test EnergyIncr 1.0e-4 200",
             "    algorithm Newton",
             "    integrator Newmark 0.5 0.25",
             "    analysis Transient",
             "    set peakDrift 0.0",
             "    set peakRoof 0.0",
             "    set peakBaseShear 0.0",
             "    set converged yes",
             "    for {set i 0} {$i < $steps && $converged} {incr i} {",
             "        if {[analyze 1 $dt] == 0} {",
             "            TrackPeaks",
             "            continue",
             "        }",
             "        for {set k 0} {$k < 10} {incr k} {",
             "            if {[analyze 1 [expr {$dt / 10.0}]] != 0} {",
             "                set converged no",
             "                break",
             "            }",
             "            TrackPeaks",
             "        }",
             "    }",
             "    set f [open outcome.txt w]",
             "    puts $f \"converged $converged\"",
             "    puts $f \"time [getTime]\"",
             "    puts $f \"peakDrift $peakDrift\"",
             "    puts $f \"peakRoof $peakRoof\"",
             "    puts $f \"peakBaseShear $peakBaseShear\"",
             "    puts $f end",
             "    close $f",
             "}",
         })
        Line(lines, line);
}

} // namespace vandra::suite
