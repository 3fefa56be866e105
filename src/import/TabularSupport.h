// What the parts of the tabular import share (internal to the import library): the file, the
// model being built, the label maps and the unit factors.
#pragma once

#include "import/TabularReader.h"
#include "model/Model.h"
#include "model/NumberText.h"
#include "model/ShownText.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vandra::tabular {

using Vec3 = std::array<double, 3>;

// One piece of a SAP frame after meshing: a frame of the model spanning [S0, S1] of the SAP frame.
struct FramePiece {
    int Frame = 0;
    double S0 = 0, S1 = 1;
};

// A SAP area: its joints (model numbers, perimeter order) and its section.
struct AreaRecord {
    std::vector<int> Joints;
    int Section = 0; // index in AreaSecs, 0 when none
    int Line = 0;
};

// Index of SAP labels. Labels that are plain decimal numbers (the usual case) are found by
// position in a vector, other labels through a hash table.
class LabelIndex {
public:
    void Reserve(size_t count);
    // False when the label is already there.
    bool Add(std::string_view label, int value);
    // The value of the label; 0 when it is not there.
    int Find(std::string_view label) const;

private:
    static int64_t NumberOf(std::string_view label);
    std::vector<int> byNumber_;
    size_t limit_ = 1024;
    std::unordered_map<std::string_view, int> byText_;
};

// The property modifiers of a section or a frame: the stiffness multipliers the model keeps, and
// those of mass and weight, which the import spends on the masses and the self weight.
struct PropertyModifiers {
    TModifiers Stiffness;
    double Mass = 1, Weight = 1;
};

struct Importer {
    const TabularFile& File;
    std::string FileName;
    std::vector<std::string>& Report;
    TModel Model;

    double ForceScale = 1;    // N per force unit of the file
    double LengthScale = 1;   // mm per length unit of the file
    double Gravity = 9806.65; // mm/s^2

    LabelIndex JointOf;                                  // SAP label -> joint
    std::vector<std::string_view> JointLabel;            // joint -> SAP label ("" for new joints)
    std::vector<bool> SpecialJoint;                      // joint -> SpecialJt=Yes
    LabelIndex FrameOf;                                  // SAP label -> SAP frame position
    std::vector<std::vector<FramePiece>> Pieces;         // SAP frame position -> its pieces
    std::vector<int> FrameLine;                          // SAP frame position -> line
    LabelIndex AreaOf;                                   // SAP label -> area position + 1
    std::vector<AreaRecord> Areas;                       // [0..] in table order
    std::vector<double> UnitWeight, UnitMass;            // per material, N/mm^3 and N s^2/mm^4
    std::vector<double> WeightArea;                      // per frame section: area for weight, mm^2
    std::vector<PropertyModifiers> SectionModifiers;     // per frame section
    std::vector<PropertyModifiers> FrameModifiers;       // SAP frame position -> frame x section
    std::unordered_map<std::string_view, int> PatternOf; // load pattern -> load case

    // Per load case, the downward force lumped at each joint (for a loads-based mass source).
    std::vector<std::vector<double>> DownForce;

    Importer(const TabularFile& file, std::string fileName, std::vector<std::string>& report)
        : File(file), FileName(std::move(fileName)), Report(report) {}

    const TabularTable* Table(std::string_view name) const { return File.Find(name); }
    void Warn(int line, std::string what, std::string done);
    void Info(std::string line) { Report.push_back(std::move(line)); }

    // "TABLE row N (line L)": where a row stands, for messages.
    std::string Where(const TabularTable& table, size_t row) const;
    // A number of the row (absent keys give `absent`); a text that is not a number throws
    // ConversionError naming the place.
    double Number(const TabularTable& table, size_t row, std::string_view key,
                  double absent = 0) const;
    // A number the row must give: InputError "<where>: the row gives no <key>" when it does not.
    double Required(const TabularTable& table, size_t row, std::string_view key) const;
    // A required number that must be positive (an elastic modulus, a dimension): InputError
    // "<where>: <key> of <what> must be positive, not <value>" otherwise.
    double Positive(const TabularTable& table, size_t row, std::string_view key,
                    const std::string& what) const;
    bool Yes(const TabularTable& table, size_t row, std::string_view key) const;
    // The joint of a SAP label given under `key`; a missing key or an unknown label throws
    // InputError.
    int Joint(const TabularTable& table, size_t row, std::string_view key) const;
    // The SAP frame position of the label under "Frame", the area of the label under "Area", the
    // load case of the pattern under "LoadPat"; one that the file does not define throws
    // InputError.
    int Frame(const TabularTable& table, size_t row) const;
    const AreaRecord& Area(const TabularTable& table, size_t row) const;
    int LoadCase(const TabularTable& table, size_t row) const;
    int NewJoint(double x, double y, double z);

    // The modifiers of a SAP frame (frame x section); all 1 when none are given.
    const PropertyModifiers& ModifiersOf(int sapFrame) const {
        static const PropertyModifiers kNone;
        return static_cast<size_t>(sapFrame) < FrameModifiers.size()
                   ? FrameModifiers[static_cast<size_t>(sapFrame)]
                   : kNone;
    }

    Vec3 Position(int joint) const {
        const TNODE& n = Model.Nodes[static_cast<size_t>(joint)];
        return {n.X, n.Y, n.Z};
    }
};

// The parts of the import, in the order they run.
void ReadUnits(Importer& im);
void ReadJointTable(Importer& im);
void ReadMaterialTables(Importer& im);
void ReadFrameSectionTable(Importer& im);
void ReadAreaSectionTable(Importer& im);
void ReadFrameTables(Importer& im);
// Modifiers, end releases and partial fixity, insertion points and rigid end zones of the frames
// (after their auto mesh and local axes), and the joint springs.
void ReadFrameAssignments(Importer& im);
// The modifiers of row r under its keys (area, shear 2, shear 3, torsion, I22, I33, mass,
// weight); absent ones are 1. `what` names the section or frame. A negative modifier throws
// InputError naming table, row and `what`; a stiffness modifier of 0 is a warning.
PropertyModifiers ReadModifiers(Importer& im, const TabularTable& t, size_t r,
                                const std::string_view (&keys)[8], const std::string& what);
void ReadJointSprings(Importer& im);
// A warning for each joint that end releases leave free to turn (the script refuses such a model).
void WarnLooseJoints(Importer& im);
void ReadAreaTables(Importer& im);
void ReadSolidTables(Importer& im);
void ReadRestraintTables(Importer& im);
void ReadConstraintTables(Importer& im);
void ReadLoadTables(Importer& im);
void ReadMassTables(Importer& im);
void RestrainIsolatedJoints(Importer& im);
void ReportUnreadTables(Importer& im);

// The SAP labels of the first few joints of a list, for messages.
std::string FirstLabels(const Importer& im, const std::vector<int>& joints);

// A name of the file as the model keeps it: control characters (a line end inside a quoted
// name) become "_", so that no name can break a line of the script.
inline std::string NameOf(std::string_view text) {
    std::string name(text);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < ' ') c = '_';
    return name;
}

// A label of the file in a message: quoted, control characters escaped, a long one cut.
inline std::string Label(std::string_view label) {
    return text::ShownToken(label, '"');
}

// Number text of the report.
inline std::string Int(long long v) {
    return text::FormatInt(v);
}
inline std::string Num(double v) {
    return text::FormatGeneral(v);
}

// Vector helpers.
inline Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
inline double Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Norm(const Vec3& a);

// The share of an area's surface that belongs to each of its corners (corner, the midpoints of
// its two edges and the centre of the area); the shares add up to the area of a convex polygon.
std::vector<double> TributaryAreas(const std::vector<Vec3>& corners);
// Unit normal of a polygon (Newell), (0,0,1) for a degenerate one.
Vec3 PolygonNormal(const std::vector<Vec3>& corners);

} // namespace vandra::tabular
