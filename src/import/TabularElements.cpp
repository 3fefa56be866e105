// The tabular import: frames (with their auto mesh), areas and solids.
#include "import/S2kReaders.h"
#include "import/TabularSupport.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace vandra::tabular {

namespace {

// The joints of the file in a uniform grid of cells about as large as the mean distance between
// them, to find the joints that lie on a frame. Joints that the mesh makes never join it: a
// frame cut into thousands of pieces would crowd them into the few cells along it.
class JointGrid {
public:
    JointGrid(const TModel& m, double cell) : model_(m), cell_(cell) {
        for (int i = 1; i <= m.NodeCount; ++i) {
            const TNODE& n = model_.Nodes[static_cast<size_t>(i)];
            cells_[Key(Cell(n.X), Cell(n.Y), Cell(n.Z))].push_back(i);
        }
    }
    // Calls visit(joint) for every joint in the cells of the box [lo, hi].
    template <typename Visit> void ForBox(const Vec3& lo, const Vec3& hi, Visit visit) const {
        const int64_t x0 = Cell(lo[0]), x1 = Cell(hi[0]), y0 = Cell(lo[1]), y1 = Cell(hi[1]),
                      z0 = Cell(lo[2]), z1 = Cell(hi[2]);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) * (z1 - z0 + 1) >
            static_cast<int64_t>(4 * cells_.size() + 64)) {
            for (const auto& [key, joints] : cells_)
                for (int j : joints)
                    visit(j);
            return;
        }
        for (int64_t x = x0; x <= x1; ++x)
            for (int64_t y = y0; y <= y1; ++y)
                for (int64_t z = z0; z <= z1; ++z) {
                    auto it = cells_.find(Key(x, y, z));
                    if (it != cells_.end())
                        for (int j : it->second)
                            visit(j);
                }
    }

private:
    int64_t Cell(double v) const {
        const double c = std::floor(v / cell_);
        return static_cast<int64_t>(std::clamp(c, -1e6, 1e6));
    }
    static uint64_t Key(int64_t x, int64_t y, int64_t z) {
        const uint64_t mask = (1u << 21) - 1;
        return (static_cast<uint64_t>(x) & mask) | ((static_cast<uint64_t>(y) & mask) << 21) |
               ((static_cast<uint64_t>(z) & mask) << 42);
    }
    const TModel& model_;
    double cell_;
    std::unordered_map<uint64_t, std::vector<int>> cells_;
};

constexpr double kOnFrameTolerance = 1e-3; // mm: a joint this close to a frame lies on it

// Every joint, those the mesh makes included, by the cube of side 10 tolerances that holds it: a
// cut point finds the joint already there by looking at the cubes within the tolerance, at most
// eight, each holding a handful of joints however many the mesh makes.
class PointIndex {
public:
    explicit PointIndex(const Importer& im) : im_(im) {
        cells_.reserve(static_cast<size_t>(im.Model.NodeCount) * 2 + 16);
        for (int i = 1; i <= im.Model.NodeCount; ++i)
            Add(i);
    }
    void Add(int joint) {
        const Vec3 p = im_.Position(joint);
        cells_[{Cell(p[0]), Cell(p[1]), Cell(p[2])}].push_back(joint);
    }
    // A joint within the tolerance of p; 0 when there is none.
    int Find(const Vec3& p) const {
        const int64_t x0 = Cell(p[0] - kOnFrameTolerance), x1 = Cell(p[0] + kOnFrameTolerance);
        const int64_t y0 = Cell(p[1] - kOnFrameTolerance), y1 = Cell(p[1] + kOnFrameTolerance);
        const int64_t z0 = Cell(p[2] - kOnFrameTolerance), z1 = Cell(p[2] + kOnFrameTolerance);
        for (int64_t x = x0; x <= x1; ++x)
            for (int64_t y = y0; y <= y1; ++y)
                for (int64_t z = z0; z <= z1; ++z) {
                    const auto it = cells_.find({x, y, z});
                    if (it == cells_.end()) continue;
                    for (int j : it->second)
                        if (Norm(Sub(im_.Position(j), p)) <= kOnFrameTolerance) return j;
                }
        return 0;
    }

private:
    struct Key {
        int64_t X, Y, Z;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            const uint64_t h = static_cast<uint64_t>(k.X) * 0x9E3779B97F4A7C15ull ^
                               static_cast<uint64_t>(k.Y) * 0xC2B2AE3D27D4EB4Full ^
                               static_cast<uint64_t>(k.Z) * 0x165667B19E3779F9ull;
            return static_cast<size_t>(h ^ (h >> 29));
        }
    };
    static int64_t Cell(double v) {
        // Coordinates are below 1e30 mm; beyond 1e15 cubes the clamp only merges far cubes.
        return static_cast<int64_t>(
            std::clamp(std::floor(v / (10 * kOnFrameTolerance)), -1e15, 1e15));
    }
    const Importer& im_;
    std::unordered_map<Key, std::vector<int>, KeyHash> cells_;
};
constexpr long long kMaxFrames = 10000000; // frames an auto mesh may make in all
constexpr int kMaxSegments = 10000;        // pieces an auto mesh cuts one frame into
// The tables give a frame no NSEG (output segments); version 6 text written from the model says 3.
constexpr int kTabularNseg = 3;

// One frame per row, between two different joints, each label once.
void ReadFrameConnectivity(Importer& im, const TabularTable& t) {
    TModel& m = im.Model;
    const size_t rows = t.Rows.size();
    m.Frames.reserve(rows + 1);
    im.FrameOf.Reserve(rows);
    im.FrameLine.assign(1, 0);
    std::vector<int> curved;
    for (size_t r = 0; r < rows; ++r) {
        const TabularRow& row = t.Rows[r];
        const std::string_view label = t.Value(row, "Frame");
        TFRAME frame;
        frame.NodeI = im.Joint(t, r, "JointI");
        frame.NodeJ = im.Joint(t, r, "JointJ");
        if (frame.NodeI == frame.NodeJ)
            throw InputError(im.Where(t, r) + ": frame " + Label(label) + " joins joint " +
                             Label(t.Value(row, "JointI")) + " to itself");
        if (Norm(Sub(im.Position(frame.NodeI), im.Position(frame.NodeJ))) <= kOnFrameTolerance)
            throw InputError(im.Where(t, r) + ": frame " + Label(label) + " joins joints " +
                             Label(t.Value(row, "JointI")) + " and " +
                             Label(t.Value(row, "JointJ")) +
                             ", which stand at the same point; it would have no length");
        if (t.Value(row, "IsCurved") == "Yes") curved.push_back(row.Line);
        m.Frames.push_back(std::move(frame));
        if (!im.FrameOf.Add(label, static_cast<int>(r) + 1))
            throw InputError(im.Where(t, r) + ": frame " + Label(label) + " is listed twice");
        im.FrameLine.push_back(row.Line);
    }
    m.FrameCount = static_cast<int>(rows);
    if (!curved.empty())
        im.Warn(curved.front(), Int(static_cast<long long>(curved.size())) + " curved frames",
                "each is taken as a straight frame between its end joints");
}

// The section name of each frame (its analysis section when it has one), then the index of that
// section for every frame.
void ReadFrameSectionAssignments(Importer& im) {
    TModel& m = im.Model;
    if (const TabularTable* a = im.Table("FRAME SECTION ASSIGNMENTS")) {
        for (size_t r = 0; r < a->Rows.size(); ++r) {
            TFRAME& f = m.Frames[static_cast<size_t>(im.Frame(*a, r))];
            std::string_view name = a->Value(a->Rows[r], "AnalSect");
            if (name.empty()) name = a->Value(a->Rows[r], "SectionName");
            f.SecName = NameOf(name);
            if (a->Value(a->Rows[r], "MatProp", "Default") != "Default")
                im.Warn(a->Rows[r].Line,
                        "frame " + std::string(a->Value(a->Rows[r], "Frame")) +
                            " overwrites the material of its section",
                        "the section's own material is used");
        }
    }
    std::unordered_map<std::string_view, int> sectionIndex;
    for (int s = 1; s <= m.SectionCount; ++s)
        sectionIndex[m.Sections[static_cast<size_t>(s)].Name] = s;
    int unassigned = 0;
    for (int f = 1; f <= m.FrameCount; ++f) {
        TFRAME& frame = m.Frames[static_cast<size_t>(f)];
        auto it = sectionIndex.find(frame.SecName);
        frame.SecIdx = it == sectionIndex.end() ? 0 : it->second;
        if (frame.SecIdx == 0) ++unassigned;
    }
    if (unassigned > 0)
        im.Warn(0, Int(unassigned) + " frames have no section defined in the file",
                "they get no element until a section is given");
}

void ReadFrameLocalAxes(Importer& im) {
    const TabularTable* a = im.Table("FRAME LOCAL AXES ASSIGNMENTS 1 - TYPICAL");
    if (a == nullptr) return;
    for (size_t r = 0; r < a->Rows.size(); ++r) {
        im.Model.Frames[static_cast<size_t>(im.Frame(*a, r))].Angle = im.Number(*a, r, "Angle");
        if (im.Yes(*a, r, "AdvanceAxes"))
            im.Warn(a->Rows[r].Line,
                    "frame " + std::string(a->Value(a->Rows[r], "Frame")) +
                        " has advanced local axes",
                    "only its angle is used");
    }
}

// The end that a rigid beam ties by a link (the releases themselves are read with the other frame
// assignments).
void ReadFrameReleases(Importer& im) {
    const TabularTable* a = im.Table("FRAME RELEASE ASSIGNMENTS 1 - GENERAL");
    if (a == nullptr) return;
    for (size_t r = 0; r < a->Rows.size(); ++r) {
        TFRAME& f = im.Model.Frames[static_cast<size_t>(im.Frame(*a, r))];
        for (std::string_view k : {"PI", "V2I", "V3I", "TI", "M2I", "M3I"})
            if (im.Yes(*a, r, k)) f.Release = kReleaseI;
        for (std::string_view k : {"PJ", "V2J", "V3J", "TJ", "M2J", "M3J"})
            if (im.Yes(*a, r, k)) f.Release = kReleaseJ;
    }
}

// A cut of a frame: its place s along the frame from joint I (0 to 1), and the joint there (0 for
// a point still without a joint).
using Cut = std::pair<double, int>;

// Where row r of the auto mesh cuts frame `base`: at the joints on it (AtJoints), and into equal
// segments (NumSegments, MaxLength, at most kMaxSegments: *capped is set when more were asked
// for); cuts closer than the tolerance are one, a joint winning over a new point. Sorted along the
// frame; empty when the frame stays whole.
std::vector<Cut> MeshCuts(const Importer& im, const TabularTable& mesh, size_t r,
                          const TFRAME& base, const JointGrid& grid, bool* capped) {
    const TModel& m = im.Model;
    const Vec3 pi = im.Position(base.NodeI), pj = im.Position(base.NodeJ);
    const Vec3 axis = Sub(pj, pi);
    const double length = Norm(axis);
    if (!(length > 0)) return {};
    std::vector<Cut> cuts;
    if (im.Yes(mesh, r, "AtJoints")) {
        const double tol = kOnFrameTolerance;
        Vec3 blo, bhi;
        for (size_t k = 0; k < 3; ++k) {
            blo[k] = std::min(pi[k], pj[k]) - tol;
            bhi[k] = std::max(pi[k], pj[k]) + tol;
        }
        grid.ForBox(blo, bhi, [&](int j) {
            if (j == base.NodeI || j == base.NodeJ) return;
            const Vec3 d = Sub(im.Position(j), pi);
            const double s = Dot(d, axis) / (length * length);
            if (s * length <= tol || (1 - s) * length <= tol) return;
            const Vec3 off = Sub(d, Vec3{axis[0] * s, axis[1] * s, axis[2] * s});
            if (Norm(off) <= tol) cuts.push_back({s, j});
        });
    }
    double asked = im.Number(mesh, r, "NumSegments");
    const double maxLength = im.Number(mesh, r, "MaxLength") * im.LengthScale;
    if (maxLength > 0) asked = std::max(asked, std::ceil(length / maxLength));
    *capped = asked > kMaxSegments;
    const int segments = static_cast<int>(std::min(asked, static_cast<double>(kMaxSegments)));
    if (static_cast<long long>(m.FrameCount) + segments > kMaxFrames)
        throw InputError(im.Where(mesh, r) + ": the auto mesh would make more than " +
                         Int(kMaxFrames) + " frames");
    for (int k = 1; k < segments; ++k)
        cuts.push_back({static_cast<double>(k) / segments, 0});
    std::sort(cuts.begin(), cuts.end());
    std::vector<Cut> merged;
    for (const Cut& c : cuts) {
        if (!merged.empty() && (c.first - merged.back().first) * length <= kOnFrameTolerance) {
            if (merged.back().second == 0) merged.back().second = c.second;
            continue;
        }
        merged.push_back(c);
    }
    return merged;
}

// Replaces frame f (as `base`) by its pieces between the cuts: the first keeps its place, the
// others follow all the frames. A cut without a joint takes an existing joint at its point, so that
// pieces of crossing frames meet, else a new joint. Returns the number of new joints.
int CutFrame(Importer& im, int f, const TFRAME& base, const std::vector<Cut>& cuts,
             PointIndex& points) {
    TModel& m = im.Model;
    const Vec3 pi = im.Position(base.NodeI);
    const Vec3 axis = Sub(im.Position(base.NodeJ), pi);
    int made = 0;
    std::vector<FramePiece>& pieces = im.Pieces[static_cast<size_t>(f)];
    pieces.clear();
    int start = base.NodeI;
    double s0 = 0;
    for (size_t k = 0; k <= cuts.size(); ++k) {
        int end = base.NodeJ;
        double s1 = 1;
        if (k < cuts.size()) {
            s1 = cuts[k].first;
            end = cuts[k].second;
            if (end == 0) {
                const Vec3 p{pi[0] + axis[0] * s1, pi[1] + axis[1] * s1, pi[2] + axis[2] * s1};
                end = points.Find(p);
                if (end == 0) {
                    end = im.NewJoint(p[0], p[1], p[2]);
                    points.Add(end);
                    ++made;
                }
            }
        }
        TFRAME piece = base;
        piece.NodeI = start;
        piece.NodeJ = end;
        int index = f;
        if (k > 0) {
            m.Frames.push_back(piece);
            index = ++m.FrameCount;
        } else {
            m.Frames[static_cast<size_t>(f)] = piece;
        }
        pieces.push_back({index, s0, s1});
        start = end;
        s0 = s1;
    }
    return made;
}

// Every frame of the file becomes its pieces (one when it is not meshed).
void ReadFrameAutoMesh(Importer& im) {
    TModel& m = im.Model;
    im.Pieces.assign(static_cast<size_t>(m.FrameCount) + 1, {});
    for (int f = 1; f <= m.FrameCount; ++f)
        im.Pieces[static_cast<size_t>(f)] = {{f, 0, 1}};
    const TabularTable* mesh = im.Table("FRAME AUTO MESH ASSIGNMENTS");
    if (mesh == nullptr || mesh->Rows.empty()) return;
    // Grid cells about as large as the mean distance between joints.
    Vec3 lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
    for (int i = 1; i <= m.NodeCount; ++i)
        for (size_t k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], im.Position(i)[k]);
            hi[k] = std::max(hi[k], im.Position(i)[k]);
        }
    const double size = m.NodeCount > 0 ? Norm(Sub(hi, lo)) : 0;
    const double cell =
        std::max(size / std::max(1.0, std::cbrt(static_cast<double>(m.NodeCount))), 1.0);
    const JointGrid grid(m, cell);
    PointIndex points(im);
    const int originalFrames = m.FrameCount;
    int meshed = 0, made = 0;
    std::vector<int> cappedLines;
    for (size_t r = 0; r < mesh->Rows.size(); ++r) {
        if (!im.Yes(*mesh, r, "AutoMesh")) continue;
        const int f = im.Frame(*mesh, r);
        if (f > originalFrames) continue;
        const TFRAME base = m.Frames[static_cast<size_t>(f)];
        bool capped = false;
        const std::vector<Cut> cuts = MeshCuts(im, *mesh, r, base, grid, &capped);
        if (capped) cappedLines.push_back(mesh->Rows[r].Line);
        if (cuts.empty()) continue;
        ++meshed;
        made += CutFrame(im, f, base, cuts, points);
    }
    if (!cappedLines.empty())
        im.Warn(cappedLines.front(),
                Int(static_cast<long long>(cappedLines.size())) +
                    " frames ask the auto mesh for more than " + Int(kMaxSegments) + " pieces",
                "each is cut into " + Int(kMaxSegments) + " pieces");
    if (meshed > 0)
        im.Info("Frame auto mesh: " + Int(meshed) + " frames cut into " +
                Int(m.FrameCount - originalFrames + meshed) + " pieces, " + Int(made) +
                " new joints");
}

// Axis 2 of every frame from its angle. SAP keeps axis 2 of a vertical frame drawn downward along
// +X; the axis formula turns it.
void SetFrameAxes(TModel& m) {
    for (int f = 1; f <= m.FrameCount; ++f) {
        TFRAME& frame = m.Frames[static_cast<size_t>(f)];
        const TNODE& a = m.Nodes[static_cast<size_t>(frame.NodeI)];
        const TNODE& b = m.Nodes[static_cast<size_t>(frame.NodeJ)];
        if (a.X == b.X && a.Y == b.Y && b.Z < a.Z) frame.Angle += 180;
        const Axis2 axis = LocalAxis2(a, b, frame.Angle);
        frame.Axis2X = axis.X;
        frame.Axis2Y = axis.Y;
        frame.Axis2Z = axis.Z;
        frame.Nseg = kTabularNseg;
    }
}

// A shell's corners must stand at three points at least; with fewer it has no area.
void CheckCorners(const Importer& im, const TabularTable& t, size_t r,
                  const std::vector<int>& joints) {
    int points = 0;
    for (size_t a = 0; a < joints.size(); ++a) {
        bool seen = false;
        for (size_t b = 0; b < a && !seen; ++b)
            seen = Norm(Sub(im.Position(joints[a]), im.Position(joints[b]))) <= kOnFrameTolerance;
        if (!seen) ++points;
    }
    if (points < 3)
        throw InputError(im.Where(t, r) + ": area " + Label(t.Value(t.Rows[r], "Area")) +
                         " has its corners at fewer than three points; it would have no area");
}

} // namespace

void ReadFrameTables(Importer& im) {
    TModel& m = im.Model;
    m.Frames.assign(1, TFRAME{});
    const TabularTable* t = im.Table("CONNECTIVITY - FRAME");
    if (t == nullptr) return;
    ReadFrameConnectivity(im, *t);
    ReadFrameSectionAssignments(im);
    ReadFrameLocalAxes(im);
    ReadFrameReleases(im);
    ReadFrameAutoMesh(im);
    SetFrameAxes(m);
    ReadFrameAssignments(im);
    im.Info("Frames: " + Int(static_cast<long long>(t->Rows.size())) + " read, " +
            Int(m.FrameCount) + " in the model");
}

void ReadAreaTables(Importer& im) {
    TModel& m = im.Model;
    m.Shells.assign(1, TSHELL{});
    const TabularTable* t = im.Table("CONNECTIVITY - AREA");
    if (t == nullptr) return;
    std::unordered_map<std::string_view, std::string_view> sectionOf;
    if (const TabularTable* a = im.Table("AREA SECTION ASSIGNMENTS"))
        for (const TabularRow& row : a->Rows)
            sectionOf[a->Value(row, "Area")] = a->Value(row, "Section");
    std::unordered_map<std::string_view, int> sectionIndex;
    for (int s = 1; s <= m.AreaSecCount; ++s)
        sectionIndex[m.AreaSecs[static_cast<size_t>(s)].Name] = s;
    std::vector<int> triangles, polygons;
    im.AreaOf.Reserve(t->Rows.size());
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const std::string_view label = t->Value(row, "Area");
        AreaRecord area;
        area.Line = row.Line;
        for (int k = 1;; ++k) {
            const std::string key = "Joint" + Int(k);
            if (!t->Has(row, key)) break;
            area.Joints.push_back(im.Joint(*t, r, key));
        }
        auto sec = sectionOf.find(label);
        const std::string_view secName = sec == sectionOf.end() ? std::string_view{} : sec->second;
        auto idx = sectionIndex.find(NameOf(secName));
        area.Section = idx == sectionIndex.end() ? 0 : idx->second;
        if (area.Joints.size() == 4) {
            CheckCorners(im, *t, r, area.Joints);
            TSHELL shell;
            shell.SecName = NameOf(secName);
            shell.SecIdx = area.Section;
            shell.N1 = area.Joints[0];
            shell.N2 = area.Joints[1];
            shell.N3 = area.Joints[2];
            shell.N4 = area.Joints[3];
            m.Shells.push_back(std::move(shell));
        } else if (area.Joints.size() == 3) {
            triangles.push_back(row.Line);
        } else {
            polygons.push_back(row.Line);
        }
        if (!im.AreaOf.Add(label, static_cast<int>(im.Areas.size()) + 1))
            throw InputError(im.Where(*t, r) + ": area " + Label(label) + " is listed twice");
        im.Areas.push_back(std::move(area));
    }
    m.ShellCount = static_cast<int>(m.Shells.size()) - 1;
    m.ShellCount1 = 0;
    for (int i = 1; i <= m.ShellCount; ++i) {
        const int s = m.Shells[static_cast<size_t>(i)].SecIdx;
        if (s > 0 && m.AreaSecs[static_cast<size_t>(s)].ShellKind == 1) ++m.ShellCount1;
    }
    if (!triangles.empty())
        im.Warn(triangles.front(),
                Int(static_cast<long long>(triangles.size())) +
                    " areas have 3 joints, which a four-node shell cannot take",
                "skipped as elements; their loads and masses still go to their joints");
    if (!polygons.empty())
        im.Warn(polygons.front(),
                Int(static_cast<long long>(polygons.size())) + " areas have more than 4 joints",
                "skipped as elements; their loads and masses still go to their joints");
    if (const TabularTable* a = im.Table("AREA AUTO MESH ASSIGNMENTS")) {
        int meshed = 0;
        for (const TabularRow& row : a->Rows) {
            const std::string_view type = a->Value(row, "MeshType");
            if (!type.empty() && type != "Default" && type != "None") ++meshed;
        }
        if (meshed > 0)
            im.Warn(a->Line, Int(meshed) + " areas are meshed by SAP2000 into smaller elements",
                    "each becomes one shell element");
    }
    im.Info("Areas: " + Int(static_cast<long long>(t->Rows.size())) + " read, " +
            Int(m.ShellCount) + " shells (" + Int(m.ShellCount1) + " with a shell section)");
}

void ReadSolidTables(Importer& im) {
    TModel& m = im.Model;
    m.Solids.assign(1, TSOLID{});
    const TabularTable* t = im.Table("CONNECTIVITY - SOLID");
    if (t == nullptr) return;
    std::unordered_map<std::string_view, int> propMaterial;
    if (const TabularTable* p = im.Table("SOLID PROPERTY DEFINITIONS"))
        for (const TabularRow& row : p->Rows)
            propMaterial[p->Value(row, "SolidProp")] =
                FindMaterial(m, NameOf(p->Value(row, "Material")));
    std::unordered_map<std::string_view, std::string_view> propOf;
    if (const TabularTable* a = im.Table("SOLID PROPERTY ASSIGNMENTS"))
        for (const TabularRow& row : a->Rows)
            propOf[a->Value(row, "Solid")] = a->Value(row, "SolidProp");
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        TSOLID solid;
        // The model holds the corners in the order of the brick element: the file's 1, 2, 4, 3,
        // 5, 6, 8, 7.
        static constexpr int kOrder[9] = {0, 1, 2, 4, 3, 5, 6, 8, 7};
        for (int k = 1; k <= 8; ++k)
            solid.N[static_cast<size_t>(k)] = im.Joint(*t, r, "Joint" + Int(kOrder[k]));
        auto prop = propOf.find(t->Value(t->Rows[r], "Solid"));
        if (prop != propOf.end()) {
            auto mat = propMaterial.find(prop->second);
            if (mat != propMaterial.end()) solid.SecNo = mat->second;
        }
        m.Solids.push_back(solid);
    }
    m.SolidCount = static_cast<int>(m.Solids.size()) - 1;
    im.Warn(t->Line, Int(m.SolidCount) + " solids refer to their material as a 3D material",
            "the script defines it only when a shell section uses the same material");
}

} // namespace vandra::tabular
