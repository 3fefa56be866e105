// The tabular import: what frames carry beyond their section (property modifiers, end releases
// and partial fixity, insertion points, rigid end zones) and the springs of joints.
#include "import/TabularSupport.h"
#include "model/Errors.h"
#include "model/JointStability.h"
#include "model/NumberParse.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vandra::tabular {
namespace {

constexpr std::string_view kFrameModifierKeys[8] = {"AMod",   "AS2Mod", "AS3Mod",  "JMod",
                                                    "I22Mod", "I33Mod", "MassMod", "WeightMod"};
constexpr const char* kReleaseTable = "FRAME RELEASE ASSIGNMENTS 1 - GENERAL";
constexpr const char* kFixityTable = "FRAME RELEASE ASSIGNMENTS 2 - PARTIAL FIXITY";
constexpr const char* kInsertionTable = "FRAME INSERTION POINT ASSIGNMENTS";
constexpr const char* kOffsetTable = "FRAME OFFSET ALONG LENGTH ASSIGNMENTS";
// The keys of the six directions at end I and end J, in the order of the release bits.
constexpr std::string_view kEndKeys[2][6] = {{"PI", "V2I", "V3I", "TI", "M2I", "M3I"},
                                             {"PJ", "V2J", "V3J", "TJ", "M2J", "M3J"}};

std::string FrameLabel(const TabularTable& t, size_t r) {
    return "frame " + std::string(t.Value(t.Rows[r], "Frame"));
}

// Both ends of a SAP frame (its pieces after the auto mesh) and what they carry.
struct WholeFrame {
    TFrameAssign Assign;    // modifiers and insertion offsets for every piece, ends for the end pieces
    double OffsetI = 0, OffsetJ = 0; // end offsets, before the rigid factor
    double RigidFactor = 0;
    int OffsetRow = -1; // its row of the offset table
    bool UserOffsets = false;
};

// The extent of a section across its local axes 2 and 3 (0 for a section without a shape).
std::array<double, 2> Extent(const TSECTION& s) {
    switch (s.Shape) {
    case kShapeRectangle:
    case kShapeBox:
        return {s.T[1], s.T[2]};
    case kShapeI:
        return {s.T[1], std::max(s.T[2], s.T[5])};
    case kShapePipe:
        return {s.T[1], s.T[1]};
    default:
        return {0, 0};
    }
}

struct PieceAxes {
    Vec3 E1, E2, E3;
    double Length = 0;
};

PieceAxes AxesOfPiece(const Importer& im, int frame) {
    const TFRAME& f = im.Model.Frames[static_cast<size_t>(frame)];
    PieceAxes a;
    const Vec3 d = Sub(im.Position(f.NodeJ), im.Position(f.NodeI));
    a.Length = Norm(d);
    a.E1 = a.Length > 0 ? Vec3{d[0] / a.Length, d[1] / a.Length, d[2] / a.Length} : Vec3{1, 0, 0};
    a.E2 = {f.Axis2X, f.Axis2Y, f.Axis2Z};
    a.E3 = Cross(a.E1, a.E2);
    return a;
}

void ReadModifierTable(Importer& im, std::vector<WholeFrame>& whole) {
    const TModel& m = im.Model;
    const int sapFrames = static_cast<int>(im.Pieces.size()) - 1;
    im.FrameModifiers.assign(static_cast<size_t>(sapFrames) + 1, PropertyModifiers{});
    for (int f = 1; f <= sapFrames; ++f) {
        const int s = m.Frames[static_cast<size_t>(im.Pieces[static_cast<size_t>(f)][0].Frame)].SecIdx;
        if (s > 0 && static_cast<size_t>(s) < im.SectionModifiers.size())
            im.FrameModifiers[static_cast<size_t>(f)] = im.SectionModifiers[static_cast<size_t>(s)];
    }
    if (const TabularTable* t = im.Table("FRAME PROPERTY MODIFIERS"))
        for (size_t r = 0; r < t->Rows.size(); ++r) {
            const int f = im.Frame(*t, r);
            const PropertyModifiers own = ReadModifiers(im, *t, r, kFrameModifierKeys, FrameLabel(*t, r));
            PropertyModifiers& total = im.FrameModifiers[static_cast<size_t>(f)];
            TModifiers& k = total.Stiffness;
            const TModifiers& o = own.Stiffness;
            k = {k.Area * o.Area, k.AS2 * o.AS2, k.AS3 * o.AS3,
                 k.TorsJ * o.TorsJ, k.I22 * o.I22, k.I33 * o.I33};
            total.Mass *= own.Mass;
            total.Weight *= own.Weight;
        }
    int modified = 0;
    for (int f = 1; f <= sapFrames; ++f) {
        whole[static_cast<size_t>(f)].Assign.Modifiers = im.FrameModifiers[static_cast<size_t>(f)].Stiffness;
        if (!(whole[static_cast<size_t>(f)].Assign.Modifiers == TModifiers{})) ++modified;
    }
    if (modified > 0)
        im.Info("Property modifiers (section x frame): " + Int(modified) +
                " frames get modified area, shear areas, torsion constant or moments of inertia");
}

void ReadReleaseTables(Importer& im, std::vector<WholeFrame>& whole) {
    const TabularTable* t = im.Table(kReleaseTable);
    if (t == nullptr) return;
    int released = 0, torsionBoth = 0;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        TFrameAssign& a = whole[static_cast<size_t>(im.Frame(*t, r))].Assign;
        for (int end = 0; end < 2; ++end) {
            unsigned& bits = end == 0 ? a.ReleaseI : a.ReleaseJ;
            for (size_t k = 0; k < 6; ++k)
                if (im.Yes(*t, r, kEndKeys[end][k])) bits |= 1u << k;
        }
        if (a.ReleaseI != 0 || a.ReleaseJ != 0) ++released;
        if ((a.ReleaseI & a.ReleaseJ & kReleaseTorsion) != 0) {
            ++torsionBoth;
            im.Warn(t->Rows[r].Line,
                    im.Where(*t, r) + ": " + FrameLabel(*t, r) + " is released in torsion at both ends",
                    "SAP2000 finds such a frame unstable; here it carries no torsion");
        }
    }
    if (const TabularTable* p = im.Table(kFixityTable))
        for (size_t r = 0; r < p->Rows.size(); ++r) {
            TFrameAssign& a = whole[static_cast<size_t>(im.Frame(*p, r))].Assign;
            for (int end = 0; end < 2; ++end)
                for (size_t k = 0; k < 6; ++k) {
                    const double spring = im.Number(*p, r, kEndKeys[end][k]);
                    if (spring < 0)
                        throw InputError(im.Where(*p, r) + ", " + FrameLabel(*p, r) + ": " +
                                         std::string(kEndKeys[end][k]) + " = " + Num(spring) +
                                         " is a negative spring");
                    if (spring == 0) continue;
                    const unsigned bits = end == 0 ? a.ReleaseI : a.ReleaseJ;
                    if (!(bits & (1u << k))) {
                        im.Warn(p->Rows[r].Line,
                                im.Where(*p, r) + ": " + FrameLabel(*p, r) + " gives a spring " +
                                    std::string(kEndKeys[end][k]) + " to a direction it does not release",
                                "the spring is not used");
                        continue;
                    }
                    // Forces per length, moments per radian.
                    const double scale = k < 3 ? im.ForceScale / im.LengthScale
                                               : im.ForceScale * im.LengthScale;
                    (end == 0 ? a.FixityI : a.FixityJ)[k + 1] = spring * scale;
                }
        }
    if (released > 0)
        im.Info("End releases: " + Int(released) + " frames" +
                (torsionBoth > 0 ? ", " + Int(torsionBoth) + " of them without torsion" : ""));
}

// Cardinal point k (1..11) of a section of extent (d2, d3): where it lies from the centroid along
// local 2 and 3. 1..9 run from bottom left to top right (bottom: -2, left: -3), 10 is the
// centroid, 11 the shear centre (the centroid of the shapes drawn here).
std::array<double, 2> CardinalPoint(int k, const std::array<double, 2>& extent) {
    if (k < 1 || k > 9) return {0, 0};
    const int row = (k - 1) / 3, column = (k - 1) % 3;
    return {(row - 1) * extent[0] / 2, (column - 1) * extent[1] / 2};
}

void ReadInsertionTable(Importer& im, std::vector<WholeFrame>& whole) {
    const TabularTable* t = im.Table(kInsertionTable);
    if (t == nullptr) return;
    int moved = 0;
    std::vector<std::string> unknown;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const int f = im.Frame(*t, r);
        // Without the transformation the stiffness stays on the joints' line.
        if (t->Value(row, "Transform", "Yes") != "Yes") continue;
        const std::string_view text = t->Value(row, "CardinalPt", "10");
        const std::optional<int> k =
            parse::TryInteger(text.substr(0, std::min(text.find(' '), text.size())));
        if (!k || *k < 1 || *k > 11) {
            im.Warn(row.Line, im.Where(*t, r) + ": " + FrameLabel(*t, r) + " has cardinal point \"" +
                                  std::string(text) + "\"",
                    "its axis stays on its joints");
            continue;
        }
        const TFRAME& first = im.Model.Frames[static_cast<size_t>(im.Pieces[static_cast<size_t>(f)][0].Frame)];
        const TSECTION& sec = im.Model.Sections[static_cast<size_t>(first.SecIdx)];
        std::array<double, 2> point = CardinalPoint(*k, Extent(sec));
        if (im.Yes(*t, r, "Mirror2")) point[1] = -point[1];
        if (im.Yes(*t, r, "Mirror3")) point[0] = -point[0];
        if (point[0] == 0 && point[1] == 0) {
            if (*k != 10 && *k != 11 && *k != 5 && first.SecIdx > 0 && sec.Shape == kShapeNone)
                unknown.push_back(FrameLabel(*t, r));
            continue;
        }
        // The joints lie at the cardinal point: the centroid lies the other way.
        TFrameAssign& a = whole[static_cast<size_t>(f)].Assign;
        a.Offset2 = -point[0];
        a.Offset3 = -point[1];
        ++moved;
    }
    if (moved > 0)
        im.Info("Insertion points: " + Int(moved) + " frames have their axis off their joints");
    if (!unknown.empty())
        im.Warn(t->Line, Int(static_cast<long long>(unknown.size())) +
                             " frames of sections without a shape have a cardinal point other than "
                             "the centroid (" + unknown.front() + ", ...)",
                "their axis stays on their joints");
}

void ReadOffsetTable(Importer& im, std::vector<WholeFrame>& whole) {
    const TabularTable* t = im.Table(kOffsetTable);
    if (t == nullptr) return;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        WholeFrame& w = whole[static_cast<size_t>(im.Frame(*t, r))];
        const std::string_view type = t->Value(t->Rows[r], "Type", "Automatic");
        w.OffsetRow = static_cast<int>(r);
        w.RigidFactor = im.Number(*t, r, "RigidFactor");
        if (!(w.RigidFactor >= 0 && w.RigidFactor <= 1))
            throw InputError(im.Where(*t, r) + ", " + FrameLabel(*t, r) + ": RigidFactor " +
                             Num(w.RigidFactor) + " is outside 0..1");
        w.UserOffsets = type != "Automatic";
        if (w.UserOffsets) {
            w.OffsetI = im.Number(*t, r, "Length1") * im.LengthScale;
            w.OffsetJ = im.Number(*t, r, "Length2") * im.LengthScale;
            if (w.OffsetI < 0 || w.OffsetJ < 0)
                throw InputError(im.Where(*t, r) + ", " + FrameLabel(*t, r) +
                                 ": an end offset is negative");
        }
    }
}

// The automatic end offsets: at each end, half the largest extent, along the frame, of the
// cross-sections of the other frames that meet at the joint (half the column's depth for a beam,
// half the deepest beam's for a column).
void AutomaticOffsets(Importer& im, std::vector<WholeFrame>& whole) {
    const TModel& m = im.Model;
    bool any = false;
    for (const WholeFrame& w : whole)
        any = any || (w.OffsetRow >= 0 && !w.UserOffsets);
    if (!any) return;
    std::vector<int> sapOf(static_cast<size_t>(m.FrameCount) + 1, 0);
    for (size_t f = 1; f < im.Pieces.size(); ++f)
        for (const FramePiece& p : im.Pieces[f])
            sapOf[static_cast<size_t>(p.Frame)] = static_cast<int>(f);
    std::vector<std::vector<int>> atJoint(static_cast<size_t>(m.NodeCount) + 1);
    for (int p = 1; p <= m.FrameCount; ++p) {
        atJoint[static_cast<size_t>(m.Frames[static_cast<size_t>(p)].NodeI)].push_back(p);
        atJoint[static_cast<size_t>(m.Frames[static_cast<size_t>(p)].NodeJ)].push_back(p);
    }
    auto halfExtent = [&](int sapFrame, int joint, const Vec3& along) {
        double largest = 0;
        for (int p : atJoint[static_cast<size_t>(joint)]) {
            if (sapOf[static_cast<size_t>(p)] == sapFrame) continue;
            const TFRAME& other = m.Frames[static_cast<size_t>(p)];
            if (other.SecIdx == 0) continue;
            const std::array<double, 2> extent = Extent(m.Sections[static_cast<size_t>(other.SecIdx)]);
            const PieceAxes axes = AxesOfPiece(im, p);
            largest = std::max(largest, (std::abs(Dot(along, axes.E2)) * extent[0] +
                                         std::abs(Dot(along, axes.E3)) * extent[1]) / 2);
        }
        return largest;
    };
    for (size_t f = 1; f < whole.size(); ++f) {
        WholeFrame& w = whole[f];
        if (w.OffsetRow < 0 || w.UserOffsets) continue;
        const std::vector<FramePiece>& pieces = im.Pieces[f];
        const Vec3 along = AxesOfPiece(im, pieces.front().Frame).E1;
        w.OffsetI = halfExtent(static_cast<int>(f), m.Frames[static_cast<size_t>(pieces.front().Frame)].NodeI, along);
        w.OffsetJ = halfExtent(static_cast<int>(f), m.Frames[static_cast<size_t>(pieces.back().Frame)].NodeJ, along);
    }
}

// The rigid lengths of each frame from its offsets, each checked against the frame and its end
// pieces. User offsets that do not leave the frame a length are refused; automatic ones that do
// not are dropped with a warning.
void RigidZones(Importer& im, std::vector<WholeFrame>& whole) {
    const TabularTable* t = im.Table(kOffsetTable);
    int zones = 0;
    std::vector<int> dropped;
    for (size_t f = 1; f < whole.size(); ++f) {
        WholeFrame& w = whole[f];
        if (w.OffsetRow < 0 || (w.OffsetI == 0 && w.OffsetJ == 0)) continue;
        const std::vector<FramePiece>& pieces = im.Pieces[f];
        const double first = AxesOfPiece(im, pieces.front().Frame).Length;
        const double last = AxesOfPiece(im, pieces.back().Frame).Length;
        double length = 0;
        for (const FramePiece& p : pieces)
            length += AxesOfPiece(im, p.Frame).Length;
        const double rigidI = w.RigidFactor * w.OffsetI, rigidJ = w.RigidFactor * w.OffsetJ;
        const bool fits = w.OffsetI + w.OffsetJ < length &&
                          (pieces.size() == 1 ? rigidI + rigidJ < first
                                              : rigidI < first && rigidJ < last);
        if (!fits) {
            const size_t r = static_cast<size_t>(w.OffsetRow);
            if (w.UserOffsets)
                throw InputError(im.Where(*t, r) + ", " + FrameLabel(*t, r) + ": end offsets " +
                                 Num(w.OffsetI) + " mm and " + Num(w.OffsetJ) +
                                 " mm leave no length of the frame (" + Num(length) +
                                 " mm) between them");
            dropped.push_back(t->Rows[r].Line);
            continue;
        }
        w.Assign.RigidI = rigidI;
        w.Assign.RigidJ = rigidJ;
        if (rigidI > 0 || rigidJ > 0) ++zones;
    }
    if (!dropped.empty())
        im.Warn(dropped.front(), Int(static_cast<long long>(dropped.size())) +
                                     " frames are shorter than their automatic end offsets",
                "they get no rigid end zones");
    if (zones > 0)
        im.Info("Rigid end zones: " + Int(zones) +
                " frames; the rigid part of each end offset (RigidFactor) is written as a joint "
                "offset of the element");
}

// Each piece of each SAP frame gets the record of what it carries: every piece the modifiers and
// the insertion offsets, the end pieces the releases, fixity and rigid zones of their ends.
void StoreAssigns(Importer& im, const std::vector<WholeFrame>& whole) {
    TModel& m = im.Model;
    m.FrameAssigns.assign(1, TFrameAssign{});
    for (size_t f = 1; f < whole.size(); ++f) {
        const TFrameAssign& a = whole[f].Assign;
        if (a == TFrameAssign{}) continue;
        const std::vector<FramePiece>& pieces = im.Pieces[f];
        for (size_t k = 0; k < pieces.size(); ++k) {
            TFrameAssign piece;
            piece.Modifiers = a.Modifiers;
            piece.Offset2 = a.Offset2;
            piece.Offset3 = a.Offset3;
            if (k == 0) {
                piece.RigidI = a.RigidI;
                piece.ReleaseI = a.ReleaseI;
                piece.FixityI = a.FixityI;
            }
            if (k + 1 == pieces.size()) {
                piece.RigidJ = a.RigidJ;
                piece.ReleaseJ = a.ReleaseJ;
                piece.FixityJ = a.FixityJ;
            }
            if (piece == TFrameAssign{}) continue;
            m.FrameAssigns.push_back(piece);
            m.Frames[static_cast<size_t>(pieces[k].Frame)].Assign =
                static_cast<int>(m.FrameAssigns.size()) - 1;
        }
    }
}

} // namespace

PropertyModifiers ReadModifiers(Importer& im, const TabularTable& t, size_t r,
                                const std::string_view (&keys)[8], const std::string& what) {
    double v[8];
    std::string zero;
    for (size_t k = 0; k < 8; ++k) {
        v[k] = im.Number(t, r, keys[k], 1);
        if (v[k] < 0)
            throw InputError(im.Where(t, r) + ", " + what + ": " + std::string(keys[k]) + " " +
                             Num(v[k]) + " is a negative modifier");
        // A shear area of 0 means no shear deformation, not a loss of stiffness.
        if (v[k] == 0 && k != 1 && k != 2 && k < 6)
            zero += (zero.empty() ? "" : " ") + std::string(keys[k]);
    }
    if (!zero.empty())
        im.Warn(t.Rows[r].Line, im.Where(t, r) + ": " + what + " has modifiers of 0 (" + zero + ")",
                "its elements have no stiffness of that kind; the solver fails where nothing "
                "else holds them");
    PropertyModifiers m;
    m.Stiffness = {v[0], v[1], v[2], v[3], v[4], v[5]};
    m.Mass = v[6];
    m.Weight = v[7];
    return m;
}

void ReadFrameAssignments(Importer& im) {
    std::vector<WholeFrame> whole(im.Pieces.size());
    ReadModifierTable(im, whole);
    ReadReleaseTables(im, whole);
    ReadInsertionTable(im, whole);
    ReadOffsetTable(im, whole);
    AutomaticOffsets(im, whole);
    RigidZones(im, whole);
    StoreAssigns(im, whole);
}

void WarnLooseJoints(Importer& im) {
    const std::vector<TLooseJoint> loose = LooseReleasedJoints(im.Model);
    const TabularTable* t = im.Table(kReleaseTable);
    if (loose.empty() || t == nullptr) return;
    // The release row of each SAP frame, and the SAP frame of each piece.
    std::vector<int> rowOf(im.Pieces.size(), -1), sapOf(static_cast<size_t>(im.Model.FrameCount) + 1, 0);
    for (size_t r = 0; r < t->Rows.size(); ++r)
        rowOf[static_cast<size_t>(im.Frame(*t, r))] = static_cast<int>(r);
    for (size_t f = 1; f < im.Pieces.size(); ++f)
        for (const FramePiece& p : im.Pieces[f])
            sapOf[static_cast<size_t>(p.Frame)] = static_cast<int>(f);
    for (const TLooseJoint& j : loose) {
        const int row = rowOf[static_cast<size_t>(sapOf[static_cast<size_t>(j.Frames.front())])];
        if (row < 0) continue;
        const std::string_view label = im.JointLabel[static_cast<size_t>(j.Joint)];
        im.Warn(t->Rows[static_cast<size_t>(row)].Line,
                im.Where(*t, static_cast<size_t>(row)) + ": " + FrameLabel(*t, static_cast<size_t>(row)) +
                    (j.Frames.size() > 1 ? " and " + Int(static_cast<long long>(j.Frames.size()) - 1) + " more" : "") +
                    " leave joint " + (label.empty() ? Int(j.Joint) : std::string(label)) +
                    " free to turn: nothing else holds it in the released rotation",
                "no script is written until a release is taken off or the joint is held");
    }
}

void ReadJointSprings(Importer& im) {
    TModel& m = im.Model;
    m.Springs.clear();
    const TabularTable* t = im.Table("JOINT SPRING ASSIGNMENTS 1 - UNCOUPLED");
    if (t == nullptr) return;
    static constexpr std::string_view kKeys[] = {"U1", "U2", "U3", "R1", "R2", "R3"};
    std::vector<int> slot(static_cast<size_t>(m.NodeCount) + 1, -1);
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const int joint = im.Joint(*t, r, "Joint");
        const std::string_view system = t->Value(t->Rows[r], "CoordSys", "Local");
        if (system != "Local" && system != "GLOBAL")
            throw InputError(im.Where(*t, r) + ": joint " +
                             std::string(t->Value(t->Rows[r], "Joint")) +
                             " has springs in coordinate system " + std::string(system) +
                             ", which cannot be read");
        int& s = slot[static_cast<size_t>(joint)];
        if (s < 0) {
            s = static_cast<int>(m.Springs.size());
            m.Springs.push_back({joint, {}});
        }
        for (size_t k = 0; k < 6; ++k) {
            const double value = im.Number(*t, r, kKeys[k]);
            if (value < 0)
                throw InputError(im.Where(*t, r) + ": joint " +
                                 std::string(t->Value(t->Rows[r], "Joint")) + ", " +
                                 std::string(kKeys[k]) + " " + Num(value) + " is a negative spring");
            m.Springs[static_cast<size_t>(s)].K[k + 1] +=
                value * (k < 3 ? im.ForceScale / im.LengthScale : im.ForceScale * im.LengthScale);
        }
    }
    im.Info("Joint springs to the ground: " + Int(static_cast<long long>(m.Springs.size())) +
            " joints");
}

} // namespace vandra::tabular
