// Conversion of a solid model that SAP2000 V14 wrote as text tables into the version 6 text that
// the importer reads: joint coordinates, joint restraints, joint forces and 8-joint solids.
//
// A V14 table is a header line (TABLE:  "JOINT COORDINATES") followed by rows of KEY=VALUE pairs.
// The tables are read as the tabular import reads them (import/TabularReader.h): found by name,
// values found by their keys in any order, quoted values with blanks read whole.
#pragma once

#include "import/S2kText.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

struct ConvJoint {
    int Label = 0; // the joint number written in the V14 file
    double X = 0, Y = 0, Z = 0;
    std::array<double, 7> Load{}; // [1..6]: F1, F2, F3, M1, M2, M3
    std::array<int, 7> Fix{};     // [1..6]: U1, U2, U3, R1, R2, R3; 1 restrained
    int FixCount = 0;
};

struct ConvSolid {
    int Label = 0;          // the solid number written in the V14 file
    std::array<int, 9> J{}; // [1..8]: the joint numbers written in the V14 file, in V14 order
};

struct V14Conversion {
    std::vector<ConvJoint> ConvJoints; // [1..ConvJointCount]; element 0 unused
    int ConvJointCount = 0;
    std::vector<ConvSolid> ConvSolids; // [1..ConvSolidCount]; element 0 unused
    int ConvSolidCount = 0;
    std::vector<std::string> V6Lines; // the version 6 text, one entry per line
    std::vector<std::string> Log;     // the four lines the converter's window shows
};

// Converts the lines of a V14 file. Every joint is written under its position in the coordinate
// table, in the JOINT, RESTRAINT and LOAD lines alike, and the joints of a solid are mapped from
// their V14 labels to those positions, so the importer (which takes the k-th joint line as joint
// k) reads the joints the V14 file meant whatever their labels; with labels 1..N in table order
// the positions are the labels. A joint stands at XorR, Y, Z. Coordinates are written "%0.4E" and
// forces "%0.5E", with more digits only when a value has more. All or nothing: a value that is not
// a number throws ConversionError ("Line 7 (JOINT COORDINATES): 'x' is not a valid floating point
// value"); a file without joints (an empty file, a version 6 file), a row without a key it needs, a
// joint label given twice, and a restraint, force or solid naming a joint that is not in the
// coordinate table throw InputError naming the line.
V14Conversion ConvertV14(const S2kText& V14Lines);

// The version 6 text: every line ended by CR LF.
std::string V6Text(const std::vector<std::string>& V6Lines);

// Writes V6Text(V6Lines) atomically. InputError when the file cannot be written.
void WriteV6File(const std::string& path, const std::vector<std::string>& V6Lines);

} // namespace vandra
