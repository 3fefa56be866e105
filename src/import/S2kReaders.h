// The readers of an .s2k file, one per section, each a free function over the file's lines and
// the model being built. ImportS2k runs them in this order: JOINT, CONSTRAINT, RESTRAINT, MASS,
// MATERIAL, FRAME SECTION, SHELL SECTION, FRAME, SHELL, SOLID, LOAD, then the rigid-beam links.
// Each reader takes its own section from the index of sections, rebuilds its table and reads
// tokens at fixed positions. A token that should be a number and is not throws ConversionError
// naming the line and the section; a joint, frame or diaphragm number outside its table throws
// InputError naming the line. What passes but must be known goes to model.Warnings.
#pragma once

#include "import/ReaderSupport.h"
#include "import/S2kText.h"
#include "model/Model.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

using S2kLineList = S2kText;

// The length unit (TModel::LengthUnit) from the SYSTEM section's LENGTH=; an unknown unit is a
// warning and millimetres. Runs before every other reader.
void ReadSystem(const S2kText& lines, const std::string& file, TModel& model);
// The length unit code of a unit name (MM, CM, M, IN, FT in any case), none for another name.
std::optional<int> LengthUnitOfName(std::string_view name);

// Joint coordinates are rounded to 0.1 when the model is in millimetres, kept as written in any
// other unit.
void ReadJoints(const S2kInput& in, TModel& model);
void ReadConstraints(const S2kInput& in, TModel& model);
void ReadRestraints(const S2kInput& in, TModel& model);
void ReadMasses(const S2kInput& in, TModel& model);
void ReadMaterials(const S2kInput& in, TModel& model);
void ReadFrameSections(const S2kInput& in, TModel& model);
void ReadShellSections(const S2kInput& in, TModel& model);
void ReadFrames(const S2kInput& in, TModel& model);
void ReadShells(const S2kInput& in, TModel& model);
void ReadSolids(const S2kInput& in, TModel& model);
void ReadLoads(const S2kInput& in, TModel& model);
void LinkRigidBeams(TModel& model);

// The frame type a section gets from the first letter of its name: E elastic, N nonlinear
// beam-column, D displacement beam-column, H beam with hinges, T truss, C corotational truss, R
// rigid beam, any other letter elastic.
int FrameTypeOfName(std::string_view name);

// A coordinate rounded to one decimal place, an exact half going to the even tenth.
double RoundToTenth(double value);

// Unit vector of a frame's local axis 2 from its end joints and its angle in degrees.
struct Axis2 {
    double X = 0, Y = 0, Z = 0;
};
Axis2 LocalAxis2(const TNODE& nodeI, const TNODE& nodeJ, double angleDegrees);

} // namespace vandra
