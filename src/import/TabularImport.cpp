// The tabular import: the importer's helpers, units, joints, materials and restraints, and the
// order of the parts.
#include "import/TabularImport.h"

#include "import/TabularSupport.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "model/ShownText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <numbers>

namespace vandra {
namespace tabular {

namespace {

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

double Importer::Required(const TabularTable& table, size_t row, std::string_view key) const {
    if (!table.Has(table.Rows[row], key))
        throw InputError(Where(table, row) + ": the row gives no " + std::string(key));
    return Number(table, row, key);
}

double Importer::Positive(const TabularTable& table, size_t row, std::string_view key,
                          const std::string& what) const {
    const double v = Required(table, row, key);
    if (!(v > 0))
        throw InputError(Where(table, row) + ": " + std::string(key) + " of " + what +
                         " must be positive, not " + Num(v));
    return v;
}

bool Importer::Yes(const TabularTable& table, size_t row, std::string_view key) const {
    const std::string_view v = table.Value(table.Rows[row], key);
    return v == "Yes" || v == "YES" || v == "yes";
}

int Importer::Joint(const TabularTable& table, size_t row, std::string_view key) const {
    if (!table.Has(table.Rows[row], key))
        throw InputError(Where(table, row) + ": the row gives no " + std::string(key));
    const std::string_view label = table.Value(table.Rows[row], key);
    const int joint = JointOf.Find(label);
    if (joint == 0)
        throw InputError(Where(table, row) + ": joint " + Label(label) + " (" + std::string(key) +
                         ") is not in JOINT COORDINATES");
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
        throw InputError("PROGRAM CONTROL (line " + Int(line) + "): units " + Label(units) +
                         " are not known (forces N, KN, Kgf, Tonf, lb, Kip; lengths mm, cm, m, "
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
            x = im.Required(*t, r, "GlobalX");
            y = im.Required(*t, r, "GlobalY");
            z = im.Required(*t, r, "GlobalZ");
        } else if (system == "GLOBAL" && type == "Cartesian") {
            x = im.Required(*t, r, "XorR");
            y = im.Required(*t, r, "Y");
            z = im.Required(*t, r, "Z");
        } else if (system == "GLOBAL" && type == "Cylindrical") {
            const double radius = im.Required(*t, r, "XorR");
            const double theta = im.Required(*t, r, "T") * std::numbers::pi / 180;
            x = radius * std::cos(theta);
            y = radius * std::sin(theta);
            z = im.Required(*t, r, "Z");
        } else {
            throw InputError(im.Where(*t, r) + ": joint " + Label(label) +
                             " is given in coordinate system " + std::string(system) + " (" +
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
            throw InputError(im.Where(*t, r) + ": joint " + Label(label) + " is listed twice");
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
        mat.Name = NameOf(t->Value(row, "Material"));
        mat.MatType = 1;
        mat.E = im.Positive(*t, r, "E1", "material " + Label(mat.Name)) * stress;
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
                     std::vector<std::string>* report, Progress* progress) {
    // The readers in their order; each counts one unit of progress.
    static constexpr void (*kReaders[])(tabular::Importer&) = {tabular::ReadUnits,
                                                               tabular::ReadJointTable,
                                                               tabular::ReadMaterialTables,
                                                               tabular::ReadFrameSectionTable,
                                                               tabular::ReadAreaSectionTable,
                                                               tabular::ReadFrameTables,
                                                               tabular::ReadAreaTables,
                                                               tabular::ReadSolidTables,
                                                               tabular::ReadRestraintTables,
                                                               tabular::ReadJointSprings,
                                                               tabular::ReadConstraintTables,
                                                               tabular::ReadLoadTables,
                                                               tabular::ReadMassTables,
                                                               tabular::RestrainIsolatedJoints,
                                                               tabular::WarnLooseJoints,
                                                               tabular::ReportUnreadTables};
    StartProgress(progress, "Converting the tables", std::size(kReaders) + 1);
    std::vector<std::string> own;
    const TabularFile file = ReadTabular(lines);
    AddProgress(progress, 1);
    tabular::Importer im(file, fileName, report != nullptr ? *report : own);
    im.Model.LengthUnit = kLengthMM;
    for (const UnclosedQuote& q : file.UnclosedQuotes)
        im.Warn(q.Line,
                "the quote opened on this line is not closed before " +
                    (q.Until > 0
                         ? "the table header or END TABLE DATA on line " + tabular::Int(q.Until)
                         : std::string("the end of the file")),
                "the value ends there; the lines it took in are not read as rows");
    for (const auto read : kReaders) {
        read(im);
        AddProgress(progress, 1);
    }
    im.Info(
        "Joints: " + text::FormatInt(im.Model.NodeCount) + " (" +
        text::FormatInt(file.Find("JOINT COORDINATES")
                            ? static_cast<long long>(file.Find("JOINT COORDINATES")->Rows.size())
                            : 0) +
        " from the file)");
    return std::move(im.Model);
}

} // namespace vandra
