// The model store: the one structural model VANDRA works on, as plain records in tables.
//
// Every table is indexed from 1; element 0 exists (when the count is 0 or more) and holds no real
// record. A count is -1 after an import in which the file section was absent: the table is then
// empty, without even element 0. Consumers iterate 1..count, which treats -1 as empty.
// Cross-references are table indices, 0 meaning none.
#pragma once

#include "model/ModelCheck.h"
#include "model/SharedText.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

// Frame element types (TSECTION::FrameType), as chosen in the frame section dialog.
enum FrameTypeCode : int {
    kElasticBeamColumn = 1,
    kNonlinearBeamColumn = 2,
    kDispBeamColumn = 3,
    kBeamWithHinge = 4,
    kTruss = 5,
    kCorotTruss = 6,
    kRigidBeam = 7,
    kElasticTimoshenkoBeam = 8,
};

// Section shapes (TSECTION::Shape).
enum ShapeCode : int {
    kShapeNone = 0,
    kShapeRectangle = 1,
    kShapeI = 2,
    kShapeBox = 3,
    kShapePipe = 4,
};

// Section kinds (TSECTION::SectionKind): the bar layout of a rectangle.
enum SectionKindCode : int {
    kBeamSection = 1,
    kColumnSection = 2,
};

// Geometric transformations (TSECTION::GeoTransf).
enum GeoTransfCode : int {
    kLinear = 1,
    kPDelta = 2,
    kCorotational = 3,
};

// Frame end releases (TFRAME::Release).
enum ReleaseCode : int {
    kNoRelease = 0,
    kReleaseI = 1,
    kReleaseJ = 2,
};

// Load entries (TLOAD::Kind).
enum LoadKindCode : int {
    kLoadUnfilled = 0,
    kJointForce = 1,
    kFrameDistributed = 2,
};

// Shell element types (TAREASEC::NonlinType), stored as the list position itself.
enum ShellTypeCode : int {
    kShellMITC4 = 0,
    kShellDKGQ = 1,
};

// Uniaxial material laws (TMAT::MatType), the positions of the "Type" list + 1.
enum MaterialTypeCode : int {
    kMatElastic = 1,
    kMatSteel01 = 2,
    kMatConcrete01 = 3,
    kMatSteel02 = 4,
    kMatConcrete02 = 5,
};

// Analysis types (TSettings::AnalysisType), the positions of the "Analysis Type" list + 1.
enum AnalysisTypeCode : int {
    kSingleLoadControl = 1,
    kSingleDisplacementControl = 2,
    kGravityPushover = 3,
    kModal = 4,
    kTimeHistory = 5,
    kGravityTimeHistory = 6,
    kMultipleSupport = 7,
};

// Length units a model may carry (TModel::LengthUnit), read from the SYSTEM section's LENGTH=.
enum LengthUnitCode : int {
    kLengthMM = 0,
    kLengthCM = 1,
    kLengthM = 2,
    kLengthIN = 3,
    kLengthFT = 4,
};

// Millimetres in one unit of the given length unit code (1 for an unknown code).
double MillimetresPerUnit(int lengthUnit);
// The unit's name as dialogs show it: "mm", "cm", "m", "in", "ft" ("mm" for an unknown code).
std::string_view LengthUnitName(int lengthUnit);

struct TNODE {
    double X = 0, Y = 0, Z = 0;
    std::array<int, 7> Restraint{}; // [1..6]: U1, U2, U3, R1, R2, R3; 1 fixed, 0 free
    std::array<double, 7> Mass{};   // [1..6]
    int LinkNode = 0;

    bool operator==(const TNODE&) const = default;
};

struct TFRAME {
    SharedText SecName; // one buffer for all frames of a name
    int SecIdx = 0;
    int NodeI = 0, NodeJ = 0;
    double Angle = 0;
    double Axis2X = 0, Axis2Y = 0, Axis2Z = 0;
    int Nseg = 0; // NSEG of a version 6 file (output segments), written back as read
    int Release = kNoRelease;
    int Assign = 0; // its record of TModel::FrameAssigns; 0: none (record 0 holds the defaults)

    bool operator==(const TFRAME&) const = default;
};

// Multipliers of the elastic properties a frame's element gets from its section (the property
// modifiers of a SAP2000 model, the section's times the frame's).
struct TModifiers {
    double Area = 1, AS2 = 1, AS3 = 1, TorsJ = 1, I22 = 1, I33 = 1;

    bool operator==(const TModifiers&) const = default;
};

// End release bits (TFrameAssign::ReleaseI, ReleaseJ), in the frame's local directions; the bit
// of direction k (1..6: axial, shear 2, shear 3, torsion, moment 2, moment 3) is 1 << (k - 1).
enum EndReleaseBits : unsigned {
    kReleaseAxial = 1,
    kReleaseV2 = 2,
    kReleaseV3 = 4,
    kReleaseTorsion = 8,
    kReleaseM2 = 16,
    kReleaseM3 = 32,
};

// What a frame carries beyond its joints and its section (assignments of a SAP2000 model). Frames
// with nothing of the kind share record 0, which holds these defaults.
struct TFrameAssign {
    TModifiers Modifiers;
    // The rigid lengths at the two ends, along the frame from joint I and from joint J: the
    // element spans the rest.
    double RigidI = 0, RigidJ = 0;
    // Where the element's axis lies from the line of its joints, along local 2 and local 3.
    double Offset2 = 0, Offset3 = 0;
    unsigned ReleaseI = 0, ReleaseJ = 0; // EndReleaseBits
    // The spring that holds each released direction 1..6 at each end ([0] unused); 0: free.
    std::array<double, 7> FixityI{}, FixityJ{};

    bool operator==(const TFrameAssign&) const = default;
};

// Springs from a joint to the ground, in the global directions.
struct TJOINTSPRING {
    int Joint = 0;
    std::array<double, 7> K{}; // [1..6]: UX, UY, UZ, RX, RY, RZ; force per length or per radian

    bool operator==(const TJOINTSPRING&) const = default;
};

// The elastic properties of a frame section, in model units: as a file gives them, or as
// SectionPropertiesOf (sections/SectionProperties.h) computes them from a shape.
struct TSectionProps {
    double Area = 0, I22 = 0, I33 = 0, AS2 = 0, AS3 = 0, TorsJ = 0;

    bool operator==(const TSectionProps&) const = default;
};

struct TSECTION {
    int Shape = kShapeNone;
    int FrameType = 0;
    std::array<double, 7> T{}; // [1..6]
    int MatIdx = 0;
    std::string Name;
    uint32_t Color = 0;
    int DivideFX = 0, DivideFY = 0, BarNumNX = 0, BarNumNY = 0;
    double Cover = 0, BarTop = 0, BarBot = 0;
    int SectionKind = 0;
    int GeoTransf = 0;
    double HingeLenI = 0, HingeLenJ = 0;
    // The properties the imported file gave for a section without one of the four shapes; its
    // elements get them as they are.
    std::optional<TSectionProps> GivenProps;

    bool operator==(const TSECTION&) const = default;
};

struct TAREASEC {
    double Thickness = 0;
    int ShellKind = 0;
    int MatIdx = 0;
    std::string Name;
    uint32_t Color = 0;
    int NonlinType = kShellMITC4;

    bool operator==(const TAREASEC&) const = default;
};

struct TSHELL {
    SharedText SecName;
    int SecIdx = 0;
    int N1 = 0, N2 = 0, N3 = 0, N4 = 0;

    bool operator==(const TSHELL&) const = default;
};

struct TSOLID {
    int SecNo = 0;
    std::array<int, 9> N{}; // [1..8]

    bool operator==(const TSOLID&) const = default;
};

struct TMAT {
    std::string Name;
    int MatType = 0;
    double E = 0, U = 0, G = 0;
    // The parameters of the nonlinear laws under the solver's own names (model units, concrete
    // negative in compression). Only fibers and trusses see them; everything else uses E, G, U.
    double Fy = 0, E0 = 0, b = 0, R0 = 0, cR1 = 0, cR2 = 0;
    double fpc = 0, epsc0 = 0, fpcu = 0, epsU = 0, lambda = 0, ft = 0, Ets = 0;
    // Added in the program (model/AddedMaterial.h), not read from the model file.
    bool Added = false;

    bool operator==(const TMAT&) const = default;
};

struct TLOAD {
    int Target = 0;
    int Kind = kLoadUnfilled;
    int CaseIdx = 0; // the load case: an index of LoadCaseNames, 0 for none
    int Dir = 0;
    double FX = 0, FY = 0, FZ = 0, MX = 0, MY = 0, MZ = 0;

    bool operator==(const TLOAD&) const = default;
};

// One equalDOF tie: the constrained joint follows the retained joint in the flagged degrees of
// freedom.
struct TEQUALDOF {
    int Retained = 0, Constrained = 0;
    std::array<int, 7> Dof{}; // [1..6]: U1, U2, U3, R1, R2, R3; 1 tied

    bool operator==(const TEQUALDOF&) const = default;
};

struct TDIAPH {
    int SlaveCount = 0;
    std::vector<int> DiaNodes; // [1..SlaveCount] slaves; element 0 unused
    int Master = 0;

    bool operator==(const TDIAPH&) const = default;
};

// The model content: what an import builds and replaces as a whole.
struct TModel {
    std::vector<TNODE> Nodes;
    int NodeCount = 0;
    std::vector<TFRAME> Frames;
    int FrameCount = 0;
    std::vector<TSHELL> Shells;
    int ShellCount = 0;
    int ShellCount1 = 0; // shells whose section has ShellKind 1
    std::vector<TSOLID> Solids;
    int SolidCount = 0;
    std::vector<TMAT> Mats;
    int MatCount = 0;
    std::vector<TSECTION> Sections;
    int SectionCount = 0;
    std::vector<TAREASEC> AreaSecs;
    int AreaSecCount = 0;
    std::vector<TLOAD> Loads;
    int LoadCount = 0;
    std::vector<TDIAPH> Diaphs;
    int DiaphCount = 0;
    std::vector<TEQUALDOF> EqualDofs; // [1..EqualDofCount]: ties of equal constraints
    int EqualDofCount = 0;
    std::vector<TFrameAssign> FrameAssigns{TFrameAssign{}}; // [0]: the defaults; TFRAME::Assign
    std::vector<TJOINTSPRING> Springs;                       // [0..]: one per joint with springs
    std::vector<std::string> LoadCaseNames{std::string()}; // [1..LoadCaseCount]; grows as needed
    int LoadCaseCount = 0;
    int LengthUnit = kLengthMM; // the unit of every length of the model (LengthUnitCode)
    WarningList Warnings;       // what the import found that the engineer must know

    bool operator==(const TModel&) const = default;
};

// The analysis settings: what the script is made from. They start at their defaults, are edited
// in the Analysis Setting and Recorder Setting dialogs, are kept in projects; an import keeps
// them, a project brings its own. (What the view shows is in TViewOptions, the colour range of
// the results in TResults.)
struct TSettings {
    // [1..5]: displacement of all nodes, element force of all frames, section deformation,
    // section stress-strain, modal shape.
    std::array<bool, 6> RecOpt{false, true, false, false, false, false};
    int AnalysisType = 1;
    int LoadCase = 1;
    int LoadVector = 1;
    int LoadSteps = 100;
    int AnalysisStep = 100;
    double LoadFactor = 1.0;
    double ControlDisp = 0.1;
    int ControlDof = 1;
    int ControlNode = 1;
    bool UseAggregator = false;
    int ModalNumber = 12;
    int NumIntgrPts = 3;
    int RebarMat = 1;
    bool GenPlateFiber = true;
    bool GenNodeMass = true;
    // The recorders of the post-processing: the reactions of the supports, the joints' rotations
    // (frames drawn curved) and the solver's own report of a modal analysis.
    bool RecReactions = false;
    bool RecRotations = false;
    bool RecModalReport = false;
    // The ground motion of a time history (analysis types 5 and 6): the record file (a PEER .AT2
    // file, or one value a line), in g; the time step of a one-column file (a PEER file gives its
    // own); the factor on the record; the direction it shakes (1 X, 2 Y, 3 Z). The damping ratio
    // is that of the Rayleigh damping of types 5 to 7.
    std::string RecordFile;
    double RecordDt = 0.02;
    double RecordScale = 1.0;
    int RecordDirection = 1;
    double DampingRatio = 0.05;
};

// Colours pack red in the lowest byte, green in the next, blue in the third.
constexpr uint32_t PackColor(int red, int green, int blue) {
    return static_cast<uint32_t>(red & 0xFF) | (static_cast<uint32_t>(green & 0xFF) << 8) |
           (static_cast<uint32_t>(blue & 0xFF) << 16);
}
constexpr int ColorRed(uint32_t c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int ColorGreen(uint32_t c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int ColorBlue(uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Palette[0..19]. Entry 0 is black; 1..6 colour supports by restraint count, 11..16 are the
// six-step result scale; 17..19 are extra section colours so that every k mod 20 has one.
extern const std::array<uint32_t, 20> Palette;

// Colour of the k-th frame or shell section of a file (k counted from 1).
uint32_t SectionColor(int k);

// Lookup by name: exact, case-sensitive comparison against records 1..count; the last match wins;
// 0 when nothing matches.
int FindMaterial(const TModel& model, const std::string& name);
int FindSection(const TModel& model, const std::string& name);
int FindAreaSection(const TModel& model, const std::string& name);

// max(count, 0): what the status bar shows and what loops may rely on.
inline int CountOf(int count) {
    return count > 0 ? count : 0;
}

} // namespace vandra
