// Recorders of the post-processing results: the reactions of the supports, the rotations of the
// joints (for frames drawn curved), the axial force of the corotational trusses (which have no
// "localForce") and the solver's own modal report. Each writer appends its lines with the file
// names of RecorderFiles.h; the result readers of src/post open exactly these files. The script
// writes them under the recorder options that ask for them.
#pragma once

#include "model/Model.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/TagPlan.h"

#include <vector>

namespace vandra {

// A node whose reaction the script records, and the joint it is the support of.
struct ReactionNode {
    int Tag = 0;
    int Joint = 0;
};

// The nodes whose reactions make up the forces in the supports, in tag order: every joint with a
// restraint (a diaphragm's master among them: it is fixed out of its plane), then each node tied
// by equalDOF to one of those (the far end of a rigid link, the constrained joint of an equal
// constraint, the three-dof twin of a joint that solids share), whose own "reaction" is the force
// the tie carries into the support. A tied node counts for the joint it is tied to.
std::vector<ReactionNode> ReactionNodes(const TModel& model, const TagPlan& tags);

// "recorder Node -file react%d.out -time -node ... -dof 1 2 3 4 5 6 reaction", one per node block
// that holds reaction nodes (a three-dof node writes 0 for the rotations).
void WriteReactionRecorders(const TModel& model, const TagPlan& tags, ScriptLineList& lines);

// "recorder Node -file node%d_rot.out -time -nodeRange A B -dof 4 5 6 disp" for every node block
// of the joints, beside the displacement files.
void WriteRotationRecorders(const TModel& model, const TagPlan& tags, ScriptLineList& lines);

// "recorder Element -file ele%d_axial.out -time -ele ... axialForce", listing the corotational
// trusses of each element block that has any.
void WriteTrussAxialRecorders(const TModel& model, const TagPlan& tags, ScriptLineList& lines);

// "modalProperties -file ModalProperties.txt", after the eigen command.
void WriteModalReport(ScriptLineList& lines);

} // namespace vandra
