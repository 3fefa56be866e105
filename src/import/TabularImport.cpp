// The tabular import: units, joints, materials, sections and elements.
#include "import/TabularImport.h"

#include "import/S2kReaders.h"
#include "import/TabularSupport.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "tcl/SectionProperties.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <set>
#include <unordered_set>

namespace vandra {
namespace tabular {

namespace {

std::string Num(double v) {
    return text::FormatGeneral(v);
}
std::string Int(long long v) {
    return text::FormatInt(v);
}

struct UnitName {
    std::string_view Name;
    double Scale;
};

// Force units to N and length units to mm, as CurrUnits names them.
constexpr UnitName kForceUnits[] = {{"N", 1},
                                    {"KN", 1000},
                                    {"Kgf", 9.80665},
                                    {"Tonf", 9806.65},
                                    {"lb", 4.4482216152605},
                                    {"Kip", 4448.2216152605},
                                    {"kN", 1000},
                                    {"kgf", 9.80665},
                                    {"tonf", 9806.65},
                                    {"Lb", 4.4482216152605},
                                    {"kip", 4448.2216152605}};
constexpr UnitName kLengthUnits[] = {
    {"mm", 1}, {"cm", 10}, {"m", 1000}, {"in", 25.4}, {"ft", 304.8}};

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

int64_t LabelIndex::NumberOf(std::string_view label) {
    if (label.empty() || label.size() > 9 || (label[0] == '0' && label.size() > 1)) return -1;
    int64_t n = 0;
    for (char c : label) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

void LabelIndex::Reserve(size_t count) {
    limit_ = 4 * count + 1024;
}

bool LabelIndex::Add(std::string_view label, int value) {
    const int64_t n = NumberOf(label);
    if (n >= 0 && static_cast<size_t>(n) < limit_) {
        if (byNumber_.size() <= static_cast<size_t>(n))
            byNumber_.resize(std::max(static_cast<size_t>(n) + 1, 2 * byNumber_.size()), 0);
        if (byNumber_[static_cast<size_t>(n)] != 0) return false;
        byNumber_[static_cast<size_t>(n)] = value;
        return true;
    }
    return byText_.emplace(label, value).second;
}

int LabelIndex::Find(std::string_view label) const {
    const int64_t n = NumberOf(label);
    if (n >= 0 && static_cast<size_t>(n) < limit_)
        return static_cast<size_t>(n) < byNumber_.size() ? byNumber_[static_cast<size_t>(n)] : 0;
    auto it = byText_.find(label);
    return it == byText_.end() ? 0 : it->second;
}

double Norm(const Vec3& a) {
    return std::sqrt(Dot(a, a));
}

std::vector<double> TributaryAreas(const std::vector<Vec3>& corners) {
    const size_t n = corners.size();
    std::vector<double> share(n, 0.0);
    if (n < 3) return share;
    Vec3 centre{0, 0, 0};
    for (const Vec3& c : corners)
        for (int k = 0; k < 3; ++k)
            centre[static_cast<size_t>(k)] += c[static_cast<size_t>(k)] / static_cast<double>(n);
    auto mid = [](const Vec3& a, const Vec3& b) {
        return Vec3{(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2};
    };
    for (size_t i = 0; i < n; ++i) {
        const Vec3& p = corners[i];
        const Vec3 next = mid(p, corners[(i + 1) % n]);
        const Vec3 prev = mid(p, corners[(i + n - 1) % n]);
        share[i] = Norm(Cross(Sub(next, p), Sub(centre, p))) / 2 +
                   Norm(Cross(Sub(centre, p), Sub(prev, p))) / 2;
    }
    return share;
}

Vec3 PolygonNormal(const std::vector<Vec3>& corners) {
    Vec3 n{0, 0, 0};
    const size_t count = corners.size();
    for (size_t i = 0; i < count; ++i) {
        const Vec3& a = corners[i];
        const Vec3& b = corners[(i + 1) % count];
        n[0] += (a[1] - b[1]) * (a[2] + b[2]);
        n[1] += (a[2] - b[2]) * (a[0] + b[0]);
        n[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    const double length = Norm(n);
    if (!(length > 0)) return {0, 0, 1};
    return {n[0] / length, n[1] / length, n[2] / length};
}

void Importer::Warn(int line, std::string what, std::string done) {
    Model.Warnings.push_back({FileName, line, std::move(what), std::move(done)});
}

std::string Importer::Where(const TabularTable& table, size_t row) const {
    return table.Name + " row " + Int(static_cast<long long>(row) + 1) + " (line " +
           Int(table.Rows[row].Line) + ")";
}

double Importer::Number(const TabularTable& table, size_t row, std::string_view key,
                        double absent) const {
    const TabularRow& r = table.Rows[row];
    if (!table.Has(r, key)) return absent;
    const std::string_view text = table.Value(r, key);
    if (auto v = parse::TryFloat(text)) {
        // No quantity of a structure comes near this; beyond it, unit factors and products
        // could overflow.
        if (std::abs(*v) > 1e30)
            throw InputError(Where(table, row) + ", " + std::string(key) + ": " +
                             std::string(text) + " is out of range");
        return *v;
    }
    throw ConversionError(Where(table, row) + ", " + std::string(key) + ": " +
                          parse::FloatMessage(text));
}

bool Importer::Yes(const TabularTable& table, size_t row, std::string_view key) const {
    const std::string_view v = table.Value(table.Rows[row], key);
    return v == "Yes" || v == "YES" || v == "yes";
}

int Importer::Joint(const TabularTable& table, size_t row, std::string_view key) const {
    const std::string_view label = table.Value(table.Rows[row], key);
    const int joint = JointOf.Find(label);
    if (joint == 0)
        throw InputError(Where(table, row) + ": joint \"" + std::string(label) + "\" (" +
                         std::string(key) + ") is not in JOINT COORDINATES");
    return joint;
}

int Importer::NewJoint(double x, double y, double z) {
    TNODE node;
    node.X = x;
    node.Y = y;
    node.Z = z;
    Model.Nodes.push_back(std::move(node));
    JointLabel.emplace_back();
    SpecialJoint.push_back(false);
    return ++Model.NodeCount;
}

void ReadUnits(Importer& im) {
    const TabularTable* control = im.Table("PROGRAM CONTROL");
    std::string_view units;
    int line = 0;
    if (control != nullptr && !control->Rows.empty()) {
        units = control->Value(control->Rows[0], "CurrUnits");
        line = control->Rows[0].Line;
    }
    if (units.empty()) {
        im.Warn(line, "PROGRAM CONTROL gives no CurrUnits", "the file is read as N, mm");
        im.Info("Units: none given; read as N, mm");
        return;
    }
    const size_t comma = units.find(',');
    const std::string_view force = TrimBlanks(units.substr(0, comma));
    std::string_view length;
    if (comma != std::string_view::npos) {
        length = units.substr(comma + 1);
        length = TrimBlanks(length.substr(0, length.find(',')));
    }
    const UnitName* f = nullptr;
    const UnitName* l = nullptr;
    for (const UnitName& u : kForceUnits)
        if (u.Name == force) f = &u;
    for (const UnitName& u : kLengthUnits)
        if (u.Name == length) l = &u;
    if (f == nullptr || l == nullptr)
        throw InputError("PROGRAM CONTROL (line " + Int(line) + "): units \"" + std::string(units) +
                         "\" are not known (forces N, KN, Kgf, Tonf, lb, Kip; lengths mm, cm, m, "
                         "in, ft)");
    im.ForceScale = f->Scale;
    im.LengthScale = l->Scale;
    im.Info("Units: \"" + std::string(units) + "\" converted to N, mm (forces x" + Num(f->Scale) +
            ", lengths x" + Num(l->Scale) + "; masses in N s^2/mm)");
}

void ReadJointTable(Importer& im) {
    TModel& m = im.Model;
    m.Nodes.assign(1, TNODE{});
    im.JointLabel.assign(1, std::string_view{});
    im.SpecialJoint.assign(1, false);
    const TabularTable* t = im.Table("JOINT COORDINATES");
    if (t == nullptr) {
        im.Warn(0, "the file has no JOINT COORDINATES table", "the model has no joints");
        return;
    }
    const size_t rows = t->Rows.size();
    m.Nodes.reserve(rows + 1);
    im.JointLabel.reserve(rows + 1);
    im.JointOf.Reserve(rows);
    const double s = im.LengthScale;
    for (size_t r = 0; r < rows; ++r) {
        const TabularRow& row = t->Rows[r];
        const std::string_view label = t->Value(row, "Joint");
        if (label.empty()) throw InputError(im.Where(*t, r) + ": the row gives no Joint label");
        double x, y, z;
        const std::string_view system = t->Value(row, "CoordSys", "GLOBAL");
        const std::string_view type = t->Value(row, "CoordType", "Cartesian");
        if (t->Has(row, "GlobalX")) {
            x = im.Number(*t, r, "GlobalX");
            y = im.Number(*t, r, "GlobalY");
            z = im.Number(*t, r, "GlobalZ");
        } else if (system == "GLOBAL" && type == "Cartesian") {
            x = im.Number(*t, r, "XorR");
            y = im.Number(*t, r, "Y");
            z = im.Number(*t, r, "Z");
        } else if (system == "GLOBAL" && type == "Cylindrical") {
            const double radius = im.Number(*t, r, "XorR");
            const double theta = im.Number(*t, r, "T") * std::numbers::pi / 180;
            x = radius * std::cos(theta);
            y = radius * std::sin(theta);
            z = im.Number(*t, r, "Z");
        } else {
            throw InputError(im.Where(*t, r) + ": joint \"" + std::string(label) +
                             "\" is given in coordinate system " + std::string(system) + " (" +
                             std::string(type) +
                             "), which cannot be read without its global "
                             "coordinates");
        }
        TNODE node;
        node.X = x * s;
        node.Y = y * s;
        node.Z = z * s;
        m.Nodes.push_back(std::move(node));
        const int number = static_cast<int>(m.Nodes.size()) - 1;
        if (!im.JointOf.Add(label, number))
            throw InputError(im.Where(*t, r) + ": joint \"" + std::string(label) +
                             "\" is listed twice");
        im.JointLabel.push_back(label);
        im.SpecialJoint.push_back(t->Value(row, "SpecialJt") == "Yes");
    }
    m.NodeCount = static_cast<int>(rows);
    // The label map, for the engineer who looks for a SAP joint in the model.
    std::string renumbered;
    int differing = 0;
    for (int i = 1; i <= m.NodeCount; ++i) {
        const std::string_view label = im.JointLabel[static_cast<size_t>(i)];
        if (label == Int(i)) continue;
        if (++differing <= 10)
            renumbered +=
                (renumbered.empty() ? "" : ", ") + std::string(label) + " is joint " + Int(i);
    }
    if (differing > 0)
        im.Info("Joint labels renumbered (" + Int(differing) + "): " + renumbered +
                (differing > 10 ? ", ..." : ""));
}

void ReadMaterialTables(Importer& im) {
    TModel& m = im.Model;
    m.Mats.assign(1, TMAT{});
    im.UnitWeight.assign(1, 0.0);
    im.UnitMass.assign(1, 0.0);
    const TabularTable* t = im.Table("MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES");
    if (t == nullptr) return;
    const double stress = im.ForceScale / (im.LengthScale * im.LengthScale);
    const double l3 = im.LengthScale * im.LengthScale * im.LengthScale;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        TMAT mat;
        mat.Name = std::string(t->Value(row, "Material"));
        mat.MatType = 1;
        mat.E = im.Number(*t, r, "E1") * stress;
        mat.U = im.Number(*t, r, "U12");
        mat.G = 1 + mat.U != 0 ? mat.E / 2 / (1 + mat.U) : 0;
        if (!t->Has(row, "U12"))
            im.Warn(row.Line, "material " + mat.Name + " gives no Poisson ratio (U12)",
                    "taken as 0");
        m.Mats.push_back(std::move(mat));
        im.UnitWeight.push_back(im.Number(*t, r, "UnitWeight") * im.ForceScale / l3);
        im.UnitMass.push_back(im.Number(*t, r, "UnitMass") * im.ForceScale / (l3 * im.LengthScale));
    }
    m.MatCount = static_cast<int>(m.Mats.size()) - 1;
    if (const TabularTable* general = im.Table("MATERIAL PROPERTIES 01 - GENERAL"))
        for (const TabularRow& row : general->Rows) {
            const std::string_view symmetry = general->Value(row, "SymType", "Isotropic");
            if (symmetry != "Isotropic" && symmetry != "Uniaxial")
                im.Warn(row.Line,
                        "material " + std::string(general->Value(row, "Material")) + " is " +
                            std::string(symmetry),
                        "taken as isotropic with E1 and U12");
        }
}

namespace {

// The defaults every new frame section takes before the dialog edits it.
void SectionDefaults(TSECTION& sec, int k) {
    sec.Color = SectionColor(k);
    sec.FrameType = kElasticBeamColumn;
    sec.DivideFX = sec.DivideFY = sec.BarNumNX = sec.BarNumNY = 5;
    sec.Cover = 35.0;
    sec.BarTop = sec.BarBot = 1000.0;
    sec.SectionKind = kColumnSection;
    sec.GeoTransf = kLinear;
}

} // namespace

void ReadFrameSectionTable(Importer& im) {
    TModel& m = im.Model;
    m.Sections.assign(1, TSECTION{});
    im.WeightArea.assign(1, 0.0);
    const TabularTable* t = im.Table("FRAME SECTION PROPERTIES 01 - GENERAL");
    if (t == nullptr) return;
    const double l = im.LengthScale, l2 = l * l, l4 = l2 * l2;
    std::vector<std::string> given, autoSelect;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const std::string_view shape = t->Value(row, "Shape");
        const std::string name(t->Value(row, "SectionName"));
        if (shape == "Auto Select") {
            autoSelect.push_back(name);
            continue;
        }
        TSECTION sec;
        SectionDefaults(sec, static_cast<int>(m.Sections.size()));
        sec.Name = name;
        sec.MatIdx = FindMaterial(m, std::string(t->Value(row, "Material")));
        if (sec.MatIdx == 0)
            im.Warn(row.Line,
                    "frame section " + name + ": material \"" +
                        std::string(t->Value(row, "Material")) + "\" is not defined",
                    "the section has no material");
        auto dim = [&](std::string_view key) { return im.Number(*t, r, key) * l; };
        if (shape == "Rectangular") {
            sec.Shape = kShapeRectangle;
            sec.T[1] = dim("t3");
            sec.T[2] = dim("t2");
        } else if (shape == "I/Wide Flange") {
            sec.Shape = kShapeI;
            sec.T[1] = dim("t3");
            sec.T[2] = dim("t2");
            sec.T[3] = dim("tf");
            sec.T[4] = dim("tw");
            sec.T[5] = t->Has(row, "t2b") ? dim("t2b") : sec.T[2];
            sec.T[6] = t->Has(row, "tfb") ? dim("tfb") : sec.T[3];
            if (sec.T[5] != sec.T[2] || sec.T[6] != sec.T[3])
                im.Warn(row.Line,
                        "frame section " + name + " has a bottom flange unlike its top one",
                        "its properties are those of an I with two top flanges");
        } else if (shape == "Box/Tube") {
            sec.Shape = kShapeBox;
            sec.T[1] = dim("t3");
            sec.T[2] = dim("t2");
            sec.T[3] = dim("tf");
            sec.T[4] = dim("tw");
        } else if (shape == "Pipe") {
            sec.Shape = kShapePipe;
            sec.T[1] = dim("t3");
            sec.T[2] = dim("tw");
        } else if (shape == "Circle") {
            sec.Shape = kShapePipe; // a solid bar: the wall is the radius
            sec.T[1] = dim("t3");
            sec.T[2] = sec.T[1] / 2;
        }
        if (sec.Shape == kShapeNone) {
            sec.GivenProps = true;
            sec.Area = im.Number(*t, r, "Area") * l2;
            sec.I33 = im.Number(*t, r, "I33") * l4;
            sec.I22 = im.Number(*t, r, "I22") * l4;
            sec.TorsJ = im.Number(*t, r, "TorsConst") * l4;
            sec.AS2 = im.Number(*t, r, "AS2") * l2;
            sec.AS3 = im.Number(*t, r, "AS3") * l2;
            given.push_back(name + " (" + std::string(shape.empty() ? "no shape" : shape) + ")");
            if (!(sec.Area > 0))
                im.Warn(row.Line,
                        "frame section " + name + " (" + std::string(shape) +
                            ") gives no cross-section area",
                        "its frames have no stiffness until the section is edited");
        } else {
            sec.HingeLenI = sec.HingeLenJ = sec.T[1];
            if (sec.Shape == kShapePipe) sec.DivideFX = 20;
        }
        for (std::string_view mod :
             {"AMod", "A2Mod", "A3Mod", "JMod", "I2Mod", "I3Mod", "MMod", "WMod"})
            if (im.Number(*t, r, mod, 1) != 1) {
                im.Warn(row.Line, "frame section " + name + " has property modifiers",
                        "modifiers are not carried; the unmodified section is used");
                break;
            }
        m.Sections.push_back(std::move(sec));
        im.WeightArea.push_back(im.Number(*t, r, "Area") * l2);
    }
    m.SectionCount = static_cast<int>(m.Sections.size()) - 1;
    // Sections whose file gives no area get the one computed from their shape for self weight.
    TModel scratch;
    scratch.Sections = m.Sections;
    scratch.SectionCount = m.SectionCount;
    scratch.Mats = m.Mats;
    scratch.MatCount = m.MatCount;
    ComputeSectionProperties(scratch);
    for (int s = 1; s <= m.SectionCount; ++s)
        if (!(im.WeightArea[static_cast<size_t>(s)] > 0))
            im.WeightArea[static_cast<size_t>(s)] = scratch.Sections[static_cast<size_t>(s)].Area;
    im.Info("Frame sections: " + Int(m.SectionCount) +
            ", all as Elastic BeamColumn; rectangle, I, box, pipe and circle (a solid pipe) by "
            "their dimensions");
    if (!given.empty()) {
        std::string list;
        for (const std::string& g : given)
            list += (list.empty() ? "" : ", ") + g;
        im.Warn(0, "frame sections without a shape VANDRA draws: " + list,
                "their area, I33, I22, torsion constant and shear areas are taken from the file; "
                "they have no fibers");
    }
    if (!autoSelect.empty())
        im.Info("Auto select lists skipped (frames use their analysis section): " +
                Int(static_cast<long long>(autoSelect.size())));
}

void ReadAreaSectionTable(Importer& im) {
    TModel& m = im.Model;
    m.AreaSecs.assign(1, TAREASEC{});
    const TabularTable* t = im.Table("AREA SECTION PROPERTIES");
    if (t == nullptr) return;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        TAREASEC sec;
        sec.Name = std::string(t->Value(row, "Section"));
        sec.MatIdx = FindMaterial(m, std::string(t->Value(row, "Material")));
        sec.Color = SectionColor(static_cast<int>(m.AreaSecs.size()));
        sec.Thickness = im.Number(*t, r, "Thickness") * im.LengthScale;
        const std::string_view areaType = t->Value(row, "AreaType", "Shell");
        const std::string_view type = t->Value(row, "Type");
        if (areaType == "Shell" && (type == "Shell-Thin" || type == "Shell-Thick")) {
            sec.ShellKind = 1;
        } else {
            im.Warn(row.Line,
                    "area section " + sec.Name + " is of type " + std::string(areaType) + " " +
                        std::string(type),
                    "its areas are kept for drawing, loads and masses but get no shell element");
        }
        if (im.Number(*t, r, "BendThick", im.Number(*t, r, "Thickness")) !=
            im.Number(*t, r, "Thickness"))
            im.Warn(row.Line,
                    "area section " + sec.Name +
                        " has a bending thickness unlike its "
                        "membrane thickness",
                    "the membrane thickness is used");
        m.AreaSecs.push_back(std::move(sec));
    }
    m.AreaSecCount = static_cast<int>(m.AreaSecs.size()) - 1;
}

namespace {

// Joints in a uniform grid of cells, to find the joints that lie on a frame.
class JointGrid {
public:
    JointGrid(const TModel& m, double cell) : model_(m), cell_(cell) {
        for (int i = 1; i <= m.NodeCount; ++i)
            Add(i);
    }
    void Add(int joint) {
        const TNODE& n = model_.Nodes[static_cast<size_t>(joint)];
        cells_[Key(Cell(n.X), Cell(n.Y), Cell(n.Z))].push_back(joint);
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

} // namespace

void ReadFrameTables(Importer& im) {
    TModel& m = im.Model;
    m.Frames.assign(1, TFRAME{});
    const TabularTable* t = im.Table("CONNECTIVITY - FRAME");
    if (t == nullptr) return;
    const size_t rows = t->Rows.size();
    m.Frames.reserve(rows + 1);
    im.FrameOf.Reserve(rows);
    im.FrameLine.assign(1, 0);
    std::vector<int> curved;
    for (size_t r = 0; r < rows; ++r) {
        const TabularRow& row = t->Rows[r];
        const std::string_view label = t->Value(row, "Frame");
        TFRAME frame;
        frame.NodeI = im.Joint(*t, r, "JointI");
        frame.NodeJ = im.Joint(*t, r, "JointJ");
        if (frame.NodeI == frame.NodeJ)
            throw InputError(im.Where(*t, r) + ": frame \"" + std::string(label) +
                             "\" joins joint " + std::string(t->Value(row, "JointI")) +
                             " to itself");
        if (t->Value(row, "IsCurved") == "Yes") curved.push_back(row.Line);
        m.Frames.push_back(std::move(frame));
        if (!im.FrameOf.Add(label, static_cast<int>(r) + 1))
            throw InputError(im.Where(*t, r) + ": frame \"" + std::string(label) +
                             "\" is listed twice");
        im.FrameLine.push_back(row.Line);
    }
    m.FrameCount = static_cast<int>(rows);
    if (!curved.empty())
        im.Warn(curved.front(), Int(static_cast<long long>(curved.size())) + " curved frames",
                "each is taken as a straight frame between its end joints");

    auto frameOf = [&](const TabularTable& table, size_t r) {
        const std::string_view label = table.Value(table.Rows[r], "Frame");
        const int frame = im.FrameOf.Find(label);
        if (frame == 0)
            throw InputError(im.Where(table, r) + ": frame \"" + std::string(label) +
                             "\" is not in CONNECTIVITY - FRAME");
        return frame;
    };

    if (const TabularTable* a = im.Table("FRAME SECTION ASSIGNMENTS")) {
        for (size_t r = 0; r < a->Rows.size(); ++r) {
            TFRAME& f = m.Frames[static_cast<size_t>(frameOf(*a, r))];
            std::string_view name = a->Value(a->Rows[r], "AnalSect");
            if (name.empty()) name = a->Value(a->Rows[r], "SectionName");
            f.SecName = std::string(name);
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

    if (const TabularTable* a = im.Table("FRAME LOCAL AXES ASSIGNMENTS 1 - TYPICAL")) {
        for (size_t r = 0; r < a->Rows.size(); ++r) {
            m.Frames[static_cast<size_t>(frameOf(*a, r))].Angle = im.Number(*a, r, "Angle");
            if (im.Yes(*a, r, "AdvanceAxes"))
                im.Warn(a->Rows[r].Line,
                        "frame " + std::string(a->Value(a->Rows[r], "Frame")) +
                            " has advanced local axes",
                        "only its angle is used");
        }
    }
    if (const TabularTable* a = im.Table("FRAME RELEASE ASSIGNMENTS 1 - GENERAL")) {
        int released = 0;
        for (size_t r = 0; r < a->Rows.size(); ++r) {
            TFRAME& f = m.Frames[static_cast<size_t>(frameOf(*a, r))];
            for (std::string_view k : {"PI", "V2I", "V3I", "TI", "M2I", "M3I"})
                if (im.Yes(*a, r, k)) f.Release = kReleaseI;
            for (std::string_view k : {"PJ", "V2J", "V3J", "TJ", "M2J", "M3J"})
                if (im.Yes(*a, r, k)) f.Release = kReleaseJ;
            if (f.Release != kNoRelease) ++released;
        }
        if (released > 0)
            im.Warn(a->Line, Int(released) + " frames have end releases",
                    "the end is marked released; elastic elements keep both ends fixed (only "
                    "rigid beams use a release)");
    }

    // Auto mesh: every SAP frame becomes its pieces; the first keeps its place, the others
    // follow all the frames of the file.
    im.Pieces.assign(static_cast<size_t>(m.FrameCount) + 1, {});
    for (int f = 1; f <= m.FrameCount; ++f)
        im.Pieces[static_cast<size_t>(f)] = {{f, 0, 1}};
    const TabularTable* mesh = im.Table("FRAME AUTO MESH ASSIGNMENTS");
    if (mesh != nullptr && !mesh->Rows.empty()) {
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
        JointGrid grid(m, cell);
        const int originalFrames = m.FrameCount;
        int meshed = 0, made = 0;
        for (size_t r = 0; r < mesh->Rows.size(); ++r) {
            if (!im.Yes(*mesh, r, "AutoMesh")) continue;
            const int f = frameOf(*mesh, r);
            if (f > originalFrames) continue;
            const TFRAME base = m.Frames[static_cast<size_t>(f)];
            const Vec3 pi = im.Position(base.NodeI), pj = im.Position(base.NodeJ);
            const Vec3 axis = Sub(pj, pi);
            const double length = Norm(axis);
            if (!(length > 0)) continue;
            std::vector<std::pair<double, int>> cuts; // (s, joint or 0)
            if (im.Yes(*mesh, r, "AtJoints")) {
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
            int segments = static_cast<int>(std::min(im.Number(*mesh, r, "NumSegments"), 10000.0));
            const double maxLength = im.Number(*mesh, r, "MaxLength") * im.LengthScale;
            if (maxLength > 0)
                segments = std::max(
                    segments, static_cast<int>(std::min(std::ceil(length / maxLength), 10000.0)));
            for (int k = 1; k < segments; ++k)
                cuts.push_back({static_cast<double>(k) / segments, 0});
            if (cuts.empty()) continue;
            std::sort(cuts.begin(), cuts.end());
            // Cuts closer than the tolerance are one cut, a joint winning over a new point.
            std::vector<std::pair<double, int>> merged;
            for (const auto& c : cuts) {
                if (!merged.empty() &&
                    (c.first - merged.back().first) * length <= kOnFrameTolerance) {
                    if (merged.back().second == 0) merged.back().second = c.second;
                    continue;
                }
                merged.push_back(c);
            }
            ++meshed;
            std::vector<FramePiece>& pieces = im.Pieces[static_cast<size_t>(f)];
            pieces.clear();
            int start = base.NodeI;
            double s0 = 0;
            for (size_t k = 0; k <= merged.size(); ++k) {
                int end = base.NodeJ;
                double s1 = 1;
                if (k < merged.size()) {
                    s1 = merged[k].first;
                    end = merged[k].second;
                    if (end == 0) {
                        // An existing joint at the point is used, so pieces of crossing frames
                        // meet.
                        const Vec3 p{pi[0] + axis[0] * s1, pi[1] + axis[1] * s1,
                                     pi[2] + axis[2] * s1};
                        const Vec3 e{kOnFrameTolerance, kOnFrameTolerance, kOnFrameTolerance};
                        grid.ForBox(
                            Sub(p, e), Vec3{p[0] + e[0], p[1] + e[1], p[2] + e[2]}, [&](int j) {
                                if (end == 0 && Norm(Sub(im.Position(j), p)) <= kOnFrameTolerance)
                                    end = j;
                            });
                        if (end == 0) {
                            end = im.NewJoint(p[0], p[1], p[2]);
                            grid.Add(end);
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
        }
        if (meshed > 0)
            im.Info("Frame auto mesh: " + Int(meshed) + " frames cut into " +
                    Int(m.FrameCount - originalFrames + meshed) + " pieces, " + Int(made) +
                    " new joints");
    }

    // SAP keeps axis 2 of a vertical frame drawn downward along +X; the axis formula turns it.
    for (int f = 1; f <= m.FrameCount; ++f) {
        TFRAME& frame = m.Frames[static_cast<size_t>(f)];
        const TNODE& a = m.Nodes[static_cast<size_t>(frame.NodeI)];
        const TNODE& b = m.Nodes[static_cast<size_t>(frame.NodeJ)];
        if (a.X == b.X && a.Y == b.Y && b.Z < a.Z) frame.Angle += 180;
        const Axis2 axis = LocalAxis2(a, b, frame.Angle);
        frame.Axis2X = axis.X;
        frame.Axis2Y = axis.Y;
        frame.Axis2Z = axis.Z;
        frame.IntPts = 3;
    }
    im.Info("Frames: " + Int(static_cast<long long>(rows)) + " read, " + Int(m.FrameCount) +
            " in the model");
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
        auto idx = sectionIndex.find(secName);
        area.Section = idx == sectionIndex.end() ? 0 : idx->second;
        if (area.Joints.size() == 4) {
            TSHELL shell;
            shell.SecName = std::string(secName);
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
            throw InputError(im.Where(*t, r) + ": area \"" + std::string(label) +
                             "\" is listed twice");
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
                FindMaterial(m, std::string(p->Value(row, "Material")));
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

void ReadRestraintTables(Importer& im) {
    TModel& m = im.Model;
    if (const TabularTable* t = im.Table("JOINT RESTRAINT ASSIGNMENTS")) {
        for (size_t r = 0; r < t->Rows.size(); ++r) {
            TNODE& n = m.Nodes[static_cast<size_t>(im.Joint(*t, r, "Joint"))];
            static constexpr std::string_view kKeys[] = {"U1", "U2", "U3", "R1", "R2", "R3"};
            for (size_t d = 0; d < 6; ++d)
                if (im.Yes(*t, r, kKeys[d])) n.Restraint[d + 1] = 1;
        }
        im.Info("Restraints: " + Int(static_cast<long long>(t->Rows.size())) + " joints");
    }
    if (const TabularTable* t = im.Table("ACTIVE DEGREES OF FREEDOM"); t && !t->Rows.empty()) {
        static constexpr std::string_view kKeys[] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
        std::string inactive;
        for (size_t d = 0; d < 6; ++d) {
            const std::string_view v = t->Value(t->Rows[0], kKeys[d], "Yes");
            if (v != "No") continue;
            inactive += (inactive.empty() ? "" : " ") + std::string(kKeys[d]);
            for (int i = 1; i <= m.NodeCount; ++i)
                m.Nodes[static_cast<size_t>(i)].Restraint[d + 1] = 1;
        }
        if (!inactive.empty())
            im.Warn(t->Rows[0].Line, "the model is analysed without " + inactive,
                    "those degrees of freedom are restrained at every joint of the file");
    }
}

} // namespace tabular

TModel ImportTabular(const S2kText& lines, const std::string& fileName,
                     std::vector<std::string>* report) {
    std::vector<std::string> own;
    const TabularFile file = ReadTabular(lines);
    tabular::Importer im(file, fileName, report != nullptr ? *report : own);
    im.Model.LengthUnit = kLengthMM;
    tabular::ReadUnits(im);
    tabular::ReadJointTable(im);
    tabular::ReadMaterialTables(im);
    tabular::ReadFrameSectionTable(im);
    tabular::ReadAreaSectionTable(im);
    tabular::ReadFrameTables(im);
    tabular::ReadAreaTables(im);
    tabular::ReadSolidTables(im);
    tabular::ReadRestraintTables(im);
    tabular::ReadConstraintTables(im);
    tabular::ReadLoadTables(im);
    tabular::ReadMassTables(im);
    tabular::RestrainIsolatedJoints(im);
    tabular::ReportUnreadTables(im);
    im.Info(
        "Joints: " + text::FormatInt(im.Model.NodeCount) + " (" +
        text::FormatInt(file.Find("JOINT COORDINATES")
                            ? static_cast<long long>(file.Find("JOINT COORDINATES")->Rows.size())
                            : 0) +
        " from the file)");
    return std::move(im.Model);
}

} // namespace vandra
