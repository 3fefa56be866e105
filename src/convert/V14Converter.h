// Conversion of a solid model that SAP2000 V14 wrote as text tables into the version 6 text that
// the importer reads: joint coordinates, joint restraints, joint forces and 8-joint solids.
//
// A V14 table is a header line (TABLE:  "JOINT COORDINATES") followed by one row per line, each row
// a list of KEY=VALUE pairs separated by three blanks. Values are taken by their position in the
// row; the keys are never compared.
#pragma once

#include "import/S2kText.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

inline constexpr int kV14FieldSlots = 40;

// V14Fields[1..40]; element 0 is unused. Fields a line does not reach are empty.
using V14FieldList = std::array<std::string, kV14FieldSlots + 1>;

// Splits one V14 line into fields: cuts at the first blank of every run of three blanks (and at
// every second blank further on while three blanks remain), at "=", "," and double quotes, and at
// the end of the line. A field is the text between two cuts, trimmed of blanks and control
// characters; the text before the first cut is not a field. For "   Joint=1   X=0" the fields are
// Joint, 1, X, 0; for the header line TABLE:  "JOINT COORDINATES" field 1 is the table's name.
void SplitV14Line(std::string_view line, V14FieldList& V14Fields);

// The header lines of the four tables the converter reads, compared with whole untrimmed lines.
inline constexpr std::string_view kV14JointTable = "TABLE:  \"JOINT COORDINATES\"";
inline constexpr std::string_view kV14RestraintTable = "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"";
inline constexpr std::string_view kV14ForceTable = "TABLE:  \"JOINT LOADS - FORCE\"";
inline constexpr std::string_view kV14SolidTable = "TABLE:  \"CONNECTIVITY - SOLID\"";

// The row lines of a table: the lines after its first header line up to the first blank line, or
// up to the end of the file. A table whose header is missing has no rows.
struct V14Table {
    int First = 0; // 0-based line of the first row
    int Last = -1; // 0-based line of the last row
    int RowCount() const { return Last - First + 1; }
};
V14Table FindV14Table(const S2kText& V14Lines, std::string_view headerLine);

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
// the positions are the labels. Coordinates are written "%0.4E" and forces "%0.5E", with more
// digits only when a value has more. Restraint and force rows naming no joint of the coordinate
// table are ignored. All or nothing: a field that is not a number throws ConversionError ("Line 7
// (JOINT COORDINATES): 'x' is not a valid floating point value"), a joint label given twice or a
// solid naming a joint that is not in the table throws InputError naming the line.
V14Conversion ConvertV14(const S2kText& V14Lines);

// Writes V6Lines, each ended by CR LF, atomically. InputError when the file cannot be written.
void WriteV6File(const std::string& path, const std::vector<std::string>& V6Lines);

} // namespace vandra
