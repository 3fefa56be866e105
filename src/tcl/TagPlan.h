// The tags of every object of the OpenSees script: one allocation for the whole script, computed
// once per generation from the model and the settings. Every writer takes its tags from it, and the
// result readers find elements and nodes through the plain functions ...ElementTag and
// JointNodeTag.
//
// Each kind of solver object has its own tag space. Within a kind, objects come in blocks; a tag is
// the base of its block plus the index of the record it stands for (from 1):
//
//   kind             block                                       usual base   records
//   node             joint j                                     0            NodeCount
//                    three-dof twin of a joint shared by a
//                    solid and a frame, shell or diaphragm       NodeCount    twins, in joint order
//                    ground node of joint spring s               after twins  Springs
//                    end node of a frame end (see below)         after those  end nodes, in frame
//                                                                             order, I before J
//   uniaxial mat.    elastic material of model material m        0            MatCount
//                    shear along y of frame section s            200          SectionCount (*)
//                    shear along z of frame section s            300          SectionCount (*)
//                    torsion of frame section s                  400          SectionCount (*)
//                    spring of stiffness k                       500          distinct stiffnesses,
//                                                                             ascending
//   nD material      ElasticIsotropic of model material m        0            MatCount
//                    PlateFiber of shell section a               600          AreaSecCount
//   section          fiber section of frame section s            0            SectionCount
//                    PlateFiber section of shell section a       700          AreaSecCount
//                    aggregator of frame section s               1000         SectionCount (*)
//   transformation   frame f                                     0            FrameCount
//   element          frame f                                     0            FrameCount
//                    shell i                                     FrameCount   ShellCount
//                    solid i                                     FrameCount + ShellCount
//                    spring of joint spring s                    after solids Springs
//                    springs of the end node of a frame end      after those  end nodes
//   pattern          plain pattern of load case c                0            LoadCaseCount
//                    ground motions of the time histories        1001         1 (tag 1002: the
//                                                                             script increments
//                                                                             before use)
//                    multiple-support patterns 1 and 2           0            2 (only with no
//                                                                             plain pattern)
//   time series      the ground motion of a time history         its pattern's tag
//                    displacement records 1 and 2 of the
//                    multiple-support excitation                 0            2
//
//   (*) only with UseAggregator on; otherwise the block is empty.
//
// Block rule: a block starts at its usual base unless the block below it in the table (same kind)
// reaches past that base; then it starts at the next multiple of 100 at or above the highest tag of
// the block below. So the usual numbers stay whenever nothing collides (a model with at most 100
// frame sections, at most 200 materials and no solids keeps every tag), and otherwise whole blocks
// move up, in their order, without ever sharing a tag.
//
// End nodes: a frame end released in a way its element cannot take itself (a partial fixity, a
// released force, a released moment of an element without release options) gets a node at its
// joint; the element ends there, and a zero-length element in the frame's local axes joins it to
// the joint: the spring of a partial fixity, nothing in a fully released direction, a stiff spring
// (1e6 times the stiffest frame's EA/L or EI/L) in every other. Elastic beam-columns release
// moments themselves, and a torsion release of an elastic frame leaves it without torsional
// stiffness.
//
// Degrees of freedom: a joint used by a solid and by nothing that needs rotations (a frame or shell
// element, a rigid diaphragm's master, a rigid link) is a three-dof node; a joint used by a solid
// and by one of those keeps its six dof and gets a three-dof twin for the solids, tied to it on 1
// 2 3. Every other joint has six dof. The solid material is the model material whose position is
// the solid's property number when such a material exists, else material 1 (a warning when the
// model has other materials); its nD tag is the material's own (the same ElasticIsotropic the plate
// fibers of that material use).
#pragma once

#include "model/Model.h"
#include "model/ModelCheck.h"
#include "tcl/ConstraintPlan.h"

#include <cstdint>
#include <vector>

namespace vandra {

// Element and node tags for the result readers: the same numbers the script uses, from the counts
// alone.
inline int FrameElementTag(const TModel&, int frame) {
    return frame;
}
inline int ShellElementTag(const TModel& model, int shell) {
    return CountOf(model.FrameCount) + shell;
}
inline int SolidElementTag(const TModel& model, int solid) {
    return CountOf(model.FrameCount) + CountOf(model.ShellCount) + solid;
}
// A joint keeps its number as node tag; twins are never recorded.
inline int JointNodeTag(const TModel&, int joint) {
    return joint;
}

class TagPlan {
public:
    // Throws InputError when the model's solids cannot be given a script: a solid on a joint that
    // does not exist, solids without any material, a solid's joint that follows a rigid diaphragm,
    // a displacement control of a rotation of a three-dof node.
    TagPlan(const TModel& model, const TSettings& settings);

    // Nodes.
    int JointNode(int joint) const { return JointNodeTag(model_, joint); }
    int JointDofs(int joint) const; // 3 or 6; 6 for a number that is no joint
    int TwinNode(int joint) const;  // the three-dof twin of a joint, 0 when it has none
    int SolidNode(int solid, int corner) const; // the node a solid uses at corner 1..8
    bool HasThreeDofNodes() const { return threeDofNodes_ > 0; }
    int GroundNode(int spring) const { return groundBase_ + spring + 1; } // Springs[spring]
    // The node frame f ends at, end 0 (I) or 1 (J): its end node, else its joint's node.
    int FrameEndNode(int frame, int end) const;
    // The end nodes as (frame, end), in tag order from the first.
    const std::vector<std::pair<int, int>>& EndNodes() const { return endNodes_; }
    int EndNode(size_t k) const { return endBase_ + static_cast<int>(k) + 1; }

    // How every tie between nodes is written (ConstraintPlan.h).
    const ConstraintPlan& Constraints() const { return constraints_; }

    // Uniaxial materials.
    int MaterialTag(int mat) const { return mat; }
    int ShearYTag(int section) const { return shearYBase_ + section; }
    int ShearZTag(int section) const { return shearZBase_ + section; }
    int TorsionTag(int section) const { return torsionBase_ + section; }
    // The spring materials: one per stiffness, ascending.
    const std::vector<double>& SpringStiffnesses() const { return springValues_; }
    int SpringMaterialTag(double stiffness) const;
    // The stiffness of a spring that stands for a rigid tie, in translation and in rotation.
    double StiffTranslation() const { return stiffTranslation_; }
    double StiffRotation() const { return stiffRotation_; }

    // nD materials.
    int ElasticNdTag(int mat) const { return mat; }
    int PlateMaterialTag(int areaSec) const { return plateMaterialBase_ + areaSec; }
    bool PlateUsesMaterial(int mat) const; // its ElasticIsotropic is written with the plate fibers
    bool SolidUsesMaterial(int mat) const; // some solid is made of it
    int SolidMaterial(int solid) const;    // the model material of a solid

    // Sections.
    int FiberSectionTag(int section) const { return section; }
    int PlateSectionTag(int areaSec) const { return plateSectionBase_ + areaSec; }
    int AggregatorTag(int section) const { return aggregatorBase_ + section; }

    // Transformations and elements.
    int TransformationTag(int frame) const { return frame; }
    int FrameElement(int frame) const { return FrameElementTag(model_, frame); }
    int ShellElement(int shell) const { return ShellElementTag(model_, shell); }
    int SolidElement(int solid) const { return SolidElementTag(model_, solid); }
    int SpringElement(int spring) const { return springElementBase_ + spring + 1; }
    int EndSpringElement(size_t k) const { return endElementBase_ + static_cast<int>(k) + 1; }

    // Patterns and time series.
    int PlainPattern(int loadCase) const { return loadCase; }
    int GroundMotionCounterStart() const { return groundMotionBase_; } // incremented before use
    int MultiSupportPattern(int k) const { return k; }
    int MultiSupportSeries(int k) const { return k; }

    // What the engineer must know about the tags and dof chosen (a moment on a three-dof node is
    // not written, a solid property that names no material).
    const WarningList& Warnings() const { return warnings_; }

private:
    // The nodes, twins and materials of a model with solids.
    void PlanSolids(const TSettings& settings);
    // The end nodes, springs and their materials.
    void PlanSprings(int uniaxialBelow);

    const TModel& model_;
    int shearYBase_ = 0, shearZBase_ = 0, torsionBase_ = 0;
    int plateMaterialBase_ = 0, plateSectionBase_ = 0, aggregatorBase_ = 0;
    int groundMotionBase_ = 0;
    std::vector<uint8_t> dofs_; // [joint]; empty when every node has six dof
    std::vector<int> twins_;    // [joint]; empty when there is no twin
    int threeDofNodes_ = 0;
    int groundBase_ = 0, endBase_ = 0, springElementBase_ = 0, endElementBase_ = 0;
    int springMaterialBase_ = 0;
    std::vector<std::pair<int, int>> endNodes_;
    std::vector<int> endNodeOf_; // [2 * frame + end]: its index in endNodes_ + 1; empty for none
    std::vector<double> springValues_;
    double stiffTranslation_ = 0, stiffRotation_ = 0;
    ConstraintPlan constraints_;
    std::vector<bool> plateMats_, solidMats_; // [material]
    WarningList warnings_;
};

} // namespace vandra
