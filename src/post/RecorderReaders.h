// Readers of the recorder files that the generated script makes the solver write. Each reader
// opens the files by the names the script gave them (tcl/RecorderFiles.h) in the results folder,
// finds every joint's or frame's values by its tag's block and its columns, and returns new
// tables: nothing is stored unless every file of the request was read. Errors (InputError,
// ConversionError) name the file, the line and the column (columns count from 1, the time column
// first).
#pragma once

#include "model/Model.h"
#include "post/ResultFields.h"

#include <string>

namespace vandra {

// Section deformation components of the "Deformation" list.
enum SectionComponent : int {
    kAxialStrain = 1,
    kCurvatureZ = 2,
    kCurvatureY = 3,
};

// Node displacements of load step `step` (line `step` of every node file, from 1).
TNodeField ReadNodeStep(const TModel& model, const std::string& folder, int step);

// Mode shape `mode` (the first line of every file of that mode, mode from 1).
TNodeField ReadModeShape(const TModel& model, const std::string& folder, int mode);

// Section deformation `component` at both ends of every frame at load step `step`: end I from
// section 1, end J from the section at that end (the last integration point, the hinge at J of a
// beam with hinges, the one section of a truss). The columns of each element follow from its frame
// type and settings.UseAggregator; frames whose element records no section get no value.
TFrameEnds ReadSectionStep(const TModel& model, const TSettings& settings,
                           const std::string& folder, int step, int component);

// The first `steps` lines of every node file; steps 0 reads every line (each file must hold as many
// lines as the first).
TNodeHistory ReadNodeHistory(const TModel& model, const std::string& folder, int steps);

// Every line of the node file that holds joint j.
TJointHistory ReadJointHistory(const TModel& model, const std::string& folder, int joint);

// The rotations RX, RY, RZ (in X, Y, Z) of every joint at load step `step`, from the rotation
// files "node%d_rot.out" (blocks as the node files).
TNodeField ReadNodeRotationStep(const TModel& model, const std::string& folder, int step);

} // namespace vandra
