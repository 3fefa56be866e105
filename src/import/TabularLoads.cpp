// The tabular import: loads per load pattern, masses and the report of the tables not read.
#include "import/TabularSupport.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace vandra::tabular {

namespace {

// One SAP frame's geometry: its end points and local axes (of its first piece; all pieces lie on
// one line).
struct FrameAxes {
    Vec3 I, J;
    double Length = 0;
    Vec3 E1, E2, E3;
};

FrameAxes AxesOf(const Importer& im, int sapFrame) {
    const TModel& m = im.Model;
    const std::vector<FramePiece>& pieces = im.Pieces[static_cast<size_t>(sapFrame)];
    const TFRAME& first = m.Frames[static_cast<size_t>(pieces.front().Frame)];
    const TFRAME& last = m.Frames[static_cast<size_t>(pieces.back().Frame)];
    FrameAxes a;
    a.I = im.Position(first.NodeI);
    a.J = im.Position(last.NodeJ);
    const Vec3 d = Sub(a.J, a.I);
    a.Length = Norm(d);
    a.E1 = a.Length > 0 ? Vec3{d[0] / a.Length, d[1] / a.Length, d[2] / a.Length} : Vec3{1, 0, 0};
    a.E2 = {first.Axis2X, first.Axis2Y, first.Axis2Z};
    a.E3 = Cross(a.E1, a.E2);
    return a;
}

// A load direction: a global vector, or a local axis 1..3.
struct Direction {
    Vec3 Global{0, 0, 0};
    int Local = 0;
    bool Known = true;
};

class LoadBuilder {
public:
    explicit LoadBuilder(Importer& im) : im_(im), m_(im.Model) {
        m_.Loads.assign(1, TLOAD{});
        nodal_.resize(static_cast<size_t>(m_.LoadCaseCount) + 1);
        im_.DownForce.assign(static_cast<size_t>(m_.LoadCaseCount) + 1, {});
    }

    void JointForce(int c, int joint, const Vec3& force, const Vec3& moment) {
        auto& slot = nodal_[static_cast<size_t>(c)][joint];
        for (size_t k = 0; k < 3; ++k) {
            slot[k] += force[k];
            slot[k + 3] += moment[k];
        }
        Down(c, joint, -force[2]);
    }

    // A trapezoid from a to b (fractions of the SAP frame) of wa..wb force per length along
    // `dir`, spread over the frame's pieces as uniform loads in their local directions.
    void FrameLoad(int c, int sapFrame, const Direction& dir, double a, double b, double wa,
                   double wb) {
        const FrameAxes axes = AxesOf(im_, sapFrame);
        const Vec3* e[3] = {&axes.E1, &axes.E2, &axes.E3};
        double comp[4] = {0, 0, 0, 0};
        Vec3 global{0, 0, 0};
        if (dir.Local != 0) {
            comp[dir.Local] = 1;
            global = *e[dir.Local - 1];
        } else {
            for (int k = 1; k <= 3; ++k)
                comp[k] = Dot(dir.Global, *e[k - 1]);
            global = dir.Global;
        }
        const double length = axes.Length;
        if (!(length > 0)) return;
        for (const FramePiece& piece : im_.Pieces[static_cast<size_t>(sapFrame)]) {
            const double x0 = std::max(a, piece.S0), x1 = std::min(b, piece.S1);
            if (!(x1 > x0)) continue;
            auto w = [&](double x) { return b > a ? wa + (wb - wa) * (x - a) / (b - a) : wa; };
            const double w0 = w(x0), w1 = w(x1);
            const double force = (x1 - x0) * length * (w0 + w1) / 2;
            const double span = (piece.S1 - piece.S0);
            const double t0 = (x0 - piece.S0) / span, t1 = (x1 - piece.S0) / span;
            const double atJ = (x1 - x0) * length * (w0 * (2 * t0 + t1) + w1 * (t0 + 2 * t1)) / 6;
            const double pieceLength = span * length;
            for (int k = 1; k <= 3; ++k) {
                if (std::abs(comp[k]) < 1e-12) continue;
                TLOAD load;
                load.Kind = kFrameDistributed;
                load.Target = piece.Frame;
                load.CaseIdx = c;
                load.Dir = k;
                load.FX = comp[k] * force / pieceLength;
                m_.Loads.push_back(load);
            }
            const TFRAME& f = m_.Frames[static_cast<size_t>(piece.Frame)];
            Down(c, f.NodeI, -global[2] * (force - atJ));
            Down(c, f.NodeJ, -global[2] * atJ);
        }
    }

    // A point force at fraction s of the SAP frame, shared by the ends of its piece.
    void FramePoint(int c, int sapFrame, const Direction& dir, double s, double force) {
        const FrameAxes axes = AxesOf(im_, sapFrame);
        const Vec3* e[3] = {&axes.E1, &axes.E2, &axes.E3};
        const Vec3 d = dir.Local != 0 ? *e[dir.Local - 1] : dir.Global;
        for (const FramePiece& piece : im_.Pieces[static_cast<size_t>(sapFrame)]) {
            if (s < piece.S0 || s > piece.S1) continue;
            const double t = (s - piece.S0) / (piece.S1 - piece.S0);
            const TFRAME& f = m_.Frames[static_cast<size_t>(piece.Frame)];
            JointForce(c, f.NodeI,
                       {d[0] * force * (1 - t), d[1] * force * (1 - t), d[2] * force * (1 - t)},
                       {0, 0, 0});
            JointForce(c, f.NodeJ, {d[0] * force * t, d[1] * force * t, d[2] * force * t},
                       {0, 0, 0});
            return;
        }
    }

    // A uniform pressure q on an area along `dir`, to its corners by tributary area.
    void AreaLoad(int c, const AreaRecord& area, const Direction& dir, double q) {
        std::vector<Vec3> corners;
        for (int j : area.Joints)
            corners.push_back(im_.Position(j));
        const std::vector<double> share = TributaryAreas(corners);
        Vec3 d = dir.Global;
        if (dir.Local == 3) d = PolygonNormal(corners);
        for (size_t k = 0; k < corners.size(); ++k)
            JointForce(c, area.Joints[k],
                       {d[0] * q * share[k], d[1] * q * share[k], d[2] * q * share[k]}, {0, 0, 0});
    }

    void Finish() {
        for (int c = 1; c <= m_.LoadCaseCount; ++c)
            for (const auto& [joint, f] : nodal_[static_cast<size_t>(c)]) {
                TLOAD load;
                load.Kind = kJointForce;
                load.Target = joint;
                load.CaseIdx = c;
                load.FX = f[0];
                load.FY = f[1];
                load.FZ = f[2];
                load.MX = f[3];
                load.MY = f[4];
                load.MZ = f[5];
                m_.Loads.push_back(load);
            }
        m_.LoadCount = static_cast<int>(m_.Loads.size()) - 1;
    }

private:
    void Down(int c, int joint, double force) {
        std::vector<double>& down = im_.DownForce[static_cast<size_t>(c)];
        if (down.empty()) down.assign(static_cast<size_t>(m_.NodeCount) + 1, 0.0);
        down[static_cast<size_t>(joint)] += force;
    }

    Importer& im_;
    TModel& m_;
    std::vector<std::map<int, std::array<double, 6>>> nodal_;
};

// The direction of a frame or area load row; Known false for one that cannot be carried.
Direction DirectionOf(std::string_view dir, const FrameAxes* axes) {
    Direction d;
    if (dir == "Gravity")
        d.Global = {0, 0, -1};
    else if (dir == "X")
        d.Global = {1, 0, 0};
    else if (dir == "Y")
        d.Global = {0, 1, 0};
    else if (dir == "Z")
        d.Global = {0, 0, 1};
    else if (dir == "1")
        d.Local = 1;
    else if (dir == "2")
        d.Local = 2;
    else if (dir == "3")
        d.Local = 3;
    else if (axes != nullptr && (dir == "Gravity Projected" || dir == "X Projected" ||
                                 dir == "Y Projected" || dir == "Z Projected")) {
        const Vec3 e = axes->E1;
        if (dir == "Gravity Projected") d.Global = {0, 0, -std::hypot(e[0], e[1])};
        if (dir == "X Projected") d.Global = {std::hypot(e[1], e[2]), 0, 0};
        if (dir == "Y Projected") d.Global = {0, std::hypot(e[0], e[2]), 0};
        if (dir == "Z Projected") d.Global = {0, 0, std::hypot(e[0], e[1])};
    } else
        d.Known = false;
    return d;
}

// What the readers of the load tables share: the loads built so far, and the rows that could not
// be carried, counted by table and reason.
struct LoadRows {
    explicit LoadRows(Importer& importer) : im(importer), builder(importer) {}

    void Skip(const TabularTable& t, size_t r, const std::string& why) {
        const std::string key = t.Name + ": " + why;
        if (skipped[key]++ == 0) firstLine[key] = t.Rows[r].Line;
    }

    Importer& im;
    LoadBuilder builder;
    std::map<std::string, int> skipped; // what could not be carried -> rows
    std::map<std::string, int> firstLine;
};

// One load case per load pattern, each name once; returns the self weight multiplier of each case
// ([1..LoadCaseCount]).
std::vector<double> ReadLoadPatterns(Importer& im) {
    TModel& m = im.Model;
    m.LoadCaseNames.assign(1, std::string());
    std::vector<double> selfWeight(1, 0.0);
    if (const TabularTable* t = im.Table("LOAD PATTERN DEFINITIONS")) {
        for (size_t r = 0; r < t->Rows.size(); ++r) {
            const std::string_view name = t->Value(t->Rows[r], "LoadPat");
            if (im.PatternOf.count(name)) continue;
            m.LoadCaseNames.push_back(NameOf(name));
            im.PatternOf[name] = static_cast<int>(m.LoadCaseNames.size()) - 1;
            selfWeight.push_back(im.Number(*t, r, "SelfWtMult"));
        }
    }
    m.LoadCaseCount = static_cast<int>(m.LoadCaseNames.size()) - 1;
    return selfWeight;
}

void ReadJointLoads(LoadRows& rows) {
    Importer& im = rows.im;
    TModel& m = im.Model;
    const TabularTable* t = im.Table("JOINT LOADS - FORCE");
    if (t == nullptr) return;
    const double fs = im.ForceScale, ls = im.LengthScale;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const int c = im.LoadCase(*t, r);
        const int joint = im.Joint(*t, r, "Joint");
        if (t->Value(t->Rows[r], "CoordSys", "GLOBAL") != "GLOBAL") {
            rows.Skip(*t, r, "forces in a coordinate system other than GLOBAL");
            continue;
        }
        TLOAD load;
        load.Kind = kJointForce;
        load.Target = joint;
        load.CaseIdx = c;
        load.FX = im.Number(*t, r, "F1") * fs;
        load.FY = im.Number(*t, r, "F2") * fs;
        load.FZ = im.Number(*t, r, "F3") * fs;
        load.MX = im.Number(*t, r, "M1") * fs * ls;
        load.MY = im.Number(*t, r, "M2") * fs * ls;
        load.MZ = im.Number(*t, r, "M3") * fs * ls;
        m.Loads.push_back(load);
        std::vector<double>& down = im.DownForce[static_cast<size_t>(c)];
        if (down.empty()) down.assign(static_cast<size_t>(m.NodeCount) + 1, 0.0);
        down[static_cast<size_t>(joint)] -= load.FZ;
    }
}

// What a row of a frame load table acts on: its load case, SAP frame, the frame's axes and the
// load's direction.
struct FrameLoadRow {
    int Case = 0, Frame = 0;
    FrameAxes Axes;
    Direction Dir;
};

// Row r of a frame load table; none (the row skipped as `moments`) for a moment, or for a
// direction that cannot be carried. Projected directions are known only to distributed loads.
std::optional<FrameLoadRow> ReadFrameLoadRow(LoadRows& rows, const TabularTable& t, size_t r,
                                             const char* moments, bool projected) {
    Importer& im = rows.im;
    const TabularRow& row = t.Rows[r];
    FrameLoadRow load;
    load.Case = im.LoadCase(t, r);
    load.Frame = im.Frame(t, r);
    if (t.Value(row, "Type", "Force") != "Force") {
        rows.Skip(t, r, moments);
        return std::nullopt;
    }
    load.Axes = AxesOf(im, load.Frame);
    load.Dir = DirectionOf(t.Value(row, "Dir"), projected ? &load.Axes : nullptr);
    if (!load.Dir.Known) {
        rows.Skip(t, r, "direction " + std::string(t.Value(row, "Dir")));
        return std::nullopt;
    }
    return load;
}

void ReadFrameDistributedLoads(LoadRows& rows) {
    Importer& im = rows.im;
    const TabularTable* t = im.Table("FRAME LOADS - DISTRIBUTED");
    if (t == nullptr) return;
    const double fs = im.ForceScale, ls = im.LengthScale;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const std::optional<FrameLoadRow> load =
            ReadFrameLoadRow(rows, *t, r, "distributed moments", true);
        if (!load) continue;
        if (load->Dir.Local == 0 && t->Value(row, "CoordSys", "GLOBAL") != "GLOBAL") {
            rows.Skip(*t, r, "loads in a coordinate system other than GLOBAL");
            continue;
        }
        const double length = load->Axes.Length;
        double a, b;
        if (t->Value(row, "DistType") == "AbsDist" && length > 0) {
            a = im.Number(*t, r, "AbsDistA") * ls / length;
            b = im.Number(*t, r, "AbsDistB") * ls / length;
        } else {
            a = im.Number(*t, r, "RelDistA", 0);
            b = im.Number(*t, r, "RelDistB", 1);
        }
        a = std::clamp(a, 0.0, 1.0);
        b = std::clamp(b, 0.0, 1.0);
        if (!(b > a)) {
            rows.Skip(*t, r, "loads whose end does not lie beyond their start");
            continue;
        }
        rows.builder.FrameLoad(load->Case, load->Frame, load->Dir, a, b,
                               im.Number(*t, r, "FOverLA") * fs / ls,
                               im.Number(*t, r, "FOverLB") * fs / ls);
    }
}

void ReadFramePointLoads(LoadRows& rows) {
    Importer& im = rows.im;
    const TabularTable* t = im.Table("FRAME LOADS - POINT");
    if (t == nullptr) return;
    const double fs = im.ForceScale, ls = im.LengthScale;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const std::optional<FrameLoadRow> load =
            ReadFrameLoadRow(rows, *t, r, "point moments", false);
        if (!load) continue;
        const double length = load->Axes.Length;
        double s = t->Value(t->Rows[r], "DistType") == "AbsDist" && length > 0
                       ? im.Number(*t, r, "AbsDist") * ls / length
                       : im.Number(*t, r, "RelDist");
        s = std::clamp(s, 0.0, 1.0);
        rows.builder.FramePoint(load->Case, load->Frame, load->Dir, s,
                                im.Number(*t, r, "Force") * fs);
    }
    im.Info("Frame point loads: shared by the end joints of the frame piece they act on");
}

// The uniform loads of one of the two area load tables.
void ReadAreaLoads(LoadRows& rows, const char* name) {
    Importer& im = rows.im;
    const TabularTable* t = im.Table(name);
    if (t == nullptr) return;
    const double fs = im.ForceScale, ls = im.LengthScale;
    for (size_t r = 0; r < t->Rows.size(); ++r) {
        const TabularRow& row = t->Rows[r];
        const int c = im.LoadCase(*t, r);
        const AreaRecord& area = im.Area(*t, r);
        Direction dir = DirectionOf(t->Value(row, "Dir"), nullptr);
        if (t->Value(row, "Dir") == "Gravity Projected") {
            std::vector<Vec3> corners;
            for (int j : area.Joints)
                corners.push_back(im.Position(j));
            dir = {{0, 0, -std::abs(PolygonNormal(corners)[2])}, 0, true};
        }
        if (!dir.Known || dir.Local == 1 || dir.Local == 2) {
            rows.Skip(*t, r, "direction " + std::string(t->Value(row, "Dir")));
            continue;
        }
        if (dir.Local == 0 && t->Value(row, "CoordSys", "GLOBAL") != "GLOBAL") {
            rows.Skip(*t, r, "loads in a coordinate system other than GLOBAL");
            continue;
        }
        rows.builder.AreaLoad(c, area, dir, im.Number(*t, r, "UnifLoad") * fs / (ls * ls));
    }
    if (!t->Rows.empty())
        im.Info(std::string(name) + ": " + Int(static_cast<long long>(t->Rows.size())) +
                " loads, to the area's corner joints by tributary area");
}

// Self weight of the cases with a multiplier: frames as distributed loads, areas to their joints.
void AddSelfWeight(LoadRows& rows, const std::vector<double>& selfWeight) {
    Importer& im = rows.im;
    const TModel& m = im.Model;
    for (int c = 1; c <= m.LoadCaseCount; ++c) {
        const double mult = selfWeight[static_cast<size_t>(c)];
        if (mult == 0) continue;
        double total = 0;
        for (int f = 1; f < static_cast<int>(im.Pieces.size()); ++f) {
            const TFRAME& frame =
                m.Frames[static_cast<size_t>(im.Pieces[static_cast<size_t>(f)].front().Frame)];
            if (frame.SecIdx == 0) continue;
            const TSECTION& sec = m.Sections[static_cast<size_t>(frame.SecIdx)];
            const double w = mult * im.UnitWeight[static_cast<size_t>(sec.MatIdx)] *
                             im.WeightArea[static_cast<size_t>(frame.SecIdx)] *
                             im.ModifiersOf(f).Weight;
            if (w == 0) continue;
            rows.builder.FrameLoad(c, f, {{0, 0, -1}, 0, true}, 0, 1, w, w);
            total += w * AxesOf(im, f).Length;
        }
        for (const AreaRecord& area : im.Areas) {
            if (area.Section == 0) continue;
            const TAREASEC& sec = m.AreaSecs[static_cast<size_t>(area.Section)];
            const double q = mult * im.UnitWeight[static_cast<size_t>(sec.MatIdx)] * sec.Thickness;
            if (q == 0) continue;
            rows.builder.AreaLoad(c, area, {{0, 0, -1}, 0, true}, q);
            std::vector<Vec3> corners;
            for (int j : area.Joints)
                corners.push_back(im.Position(j));
            for (double s : TributaryAreas(corners))
                total += q * s;
        }
        im.Info("Self weight in load case " + m.LoadCaseNames[static_cast<size_t>(c)] + " (x" +
                Num(mult) + "): " + Num(total) + " N");
    }
}

// The mass source chosen (the default one, else the first): which parts make the mass, and the
// load patterns with their multipliers when loads do.
struct MassSource {
    bool Elements = true, Masses = true, Loads = false;
    std::vector<std::pair<int, double>> Patterns; // load case, multiplier
};

MassSource ReadMassSource(Importer& im) {
    MassSource ms;
    const TabularTable* source = im.Table("MASS SOURCE");
    if (source == nullptr || source->Rows.empty()) {
        im.Info("No mass source: masses from the elements and the added masses");
        return ms;
    }
    std::string_view chosen = source->Value(source->Rows[0], "MassSource");
    for (const TabularRow& row : source->Rows)
        if (source->Value(row, "IsDefault") == "Yes") chosen = source->Value(row, "MassSource");
    bool flagsRead = false;
    for (size_t r = 0; r < source->Rows.size(); ++r) {
        const TabularRow& row = source->Rows[r];
        if (source->Value(row, "MassSource") != chosen) continue;
        if (!flagsRead && source->Has(row, "Elements")) {
            ms.Elements = im.Yes(*source, r, "Elements");
            ms.Masses = im.Yes(*source, r, "Masses");
            ms.Loads = im.Yes(*source, r, "Loads");
            flagsRead = true;
        }
        if (source->Has(row, "LoadPat"))
            ms.Patterns.push_back(
                {im.LoadCase(*source, r), im.Number(*source, r, "Multiplier", 1)});
    }
    im.Info("Mass source " + std::string(chosen) + ": elements " + (ms.Elements ? "yes" : "no") +
            ", added masses " + (ms.Masses ? "yes" : "no") + ", loads " +
            (ms.Loads ? "yes" : "no"));
    return ms;
}

// The translational mass lumped at each joint, and the sums of its parts.
struct JointMasses {
    explicit JointMasses(const Importer& importer)
        : im(importer), Mass(static_cast<size_t>(importer.Model.NodeCount) + 1, 0.0),
          OwnMass(Mass.size(), std::array<double, 7>{}) {}

    // perLength along every piece of a SAP frame, half to each end.
    void AddFrame(int sapFrame, double perLength, double& total) {
        for (const FramePiece& piece : im.Pieces[static_cast<size_t>(sapFrame)]) {
            const TFRAME& f = im.Model.Frames[static_cast<size_t>(piece.Frame)];
            const double l = Norm(Sub(im.Position(f.NodeJ), im.Position(f.NodeI)));
            Mass[static_cast<size_t>(f.NodeI)] += perLength * l / 2;
            Mass[static_cast<size_t>(f.NodeJ)] += perLength * l / 2;
            total += perLength * l;
        }
    }
    // perArea over an area, to its corners by tributary area.
    void AddArea(const AreaRecord& area, double perArea, double& total) {
        std::vector<Vec3> corners;
        for (int j : area.Joints)
            corners.push_back(im.Position(j));
        const std::vector<double> share = TributaryAreas(corners);
        for (size_t k = 0; k < share.size(); ++k) {
            Mass[static_cast<size_t>(area.Joints[k])] += perArea * share[k];
            total += perArea * share[k];
        }
    }

    const Importer& im;
    std::vector<double> Mass;                 // [joint]: the same in each direction
    std::vector<std::array<double, 7>> OwnMass; // [joint][1..6]: the joint's own added masses
    double FromElements = 0, FromAdded = 0, FromLoads = 0;
};

void AddElementMasses(JointMasses& jm) {
    const Importer& im = jm.im;
    const TModel& m = im.Model;
    for (int f = 1; f < static_cast<int>(im.Pieces.size()); ++f) {
        const int s =
            m.Frames[static_cast<size_t>(im.Pieces[static_cast<size_t>(f)].front().Frame)].SecIdx;
        if (s == 0) continue;
        jm.AddFrame(f,
                    im.UnitMass[static_cast<size_t>(m.Sections[static_cast<size_t>(s)].MatIdx)] *
                        im.WeightArea[static_cast<size_t>(s)] * im.ModifiersOf(f).Mass,
                    jm.FromElements);
    }
    for (const AreaRecord& area : im.Areas) {
        if (area.Section == 0) continue;
        const TAREASEC& sec = m.AreaSecs[static_cast<size_t>(area.Section)];
        jm.AddArea(area, im.UnitMass[static_cast<size_t>(sec.MatIdx)] * sec.Thickness,
                   jm.FromElements);
    }
}

// The added masses of frames (per length), joints and areas (per area).
void AddAddedMasses(JointMasses& jm) {
    const Importer& im = jm.im;
    const double fs = im.ForceScale, ls = im.LengthScale;
    if (const TabularTable* t = im.Table("FRAME ADDED MASS ASSIGNMENTS"))
        for (size_t r = 0; r < t->Rows.size(); ++r)
            jm.AddFrame(im.Frame(*t, r), im.Number(*t, r, "MassPerLen") * fs / (ls * ls),
                        jm.FromAdded);
    if (const TabularTable* t = im.Table("JOINT ADDED MASS ASSIGNMENTS")) {
        // Masses in each direction, and rotational inertias (mass x length^2).
        static constexpr std::string_view kKeys[6][2] = {{"Mass1", "U1"}, {"Mass2", "U2"},
                                                         {"Mass3", "U3"}, {"MMI1", "R1"},
                                                         {"MMI2", "R2"}, {"MMI3", "R3"}};
        for (size_t r = 0; r < t->Rows.size(); ++r) {
            std::array<double, 7>& added = jm.OwnMass[static_cast<size_t>(im.Joint(*t, r, "Joint"))];
            for (size_t k = 0; k < 6; ++k) {
                const double value =
                    im.Number(*t, r, kKeys[k][0], im.Number(*t, r, kKeys[k][1])) * fs *
                    (k < 3 ? 1 / ls : ls);
                added[k + 1] += value;
                if (k == 0) jm.FromAdded += value;
            }
        }
    }
    if (const TabularTable* t = im.Table("AREA ADDED MASS ASSIGNMENTS"))
        for (size_t r = 0; r < t->Rows.size(); ++r)
            jm.AddArea(im.Area(*t, r), im.Number(*t, r, "MassPerArea") * fs / (ls * ls * ls),
                       jm.FromAdded);
}

// The mass of the downward loads of the source's patterns, times their multipliers.
void AddLoadMasses(JointMasses& jm, const MassSource& source) {
    const Importer& im = jm.im;
    for (const auto& [c, mult] : source.Patterns) {
        const std::vector<double>& down = im.DownForce[static_cast<size_t>(c)];
        for (size_t j = 0; j < down.size(); ++j) {
            jm.Mass[j] += mult * down[j] / im.Gravity;
            jm.FromLoads += mult * down[j] / im.Gravity;
        }
    }
}

} // namespace

int Importer::Frame(const TabularTable& table, size_t row) const {
    const std::string_view label = table.Value(table.Rows[row], "Frame");
    const int frame = FrameOf.Find(label);
    if (frame == 0)
        throw InputError(Where(table, row) + ": frame " + Label(label) +
                         " is not in CONNECTIVITY - FRAME");
    return frame;
}

const AreaRecord& Importer::Area(const TabularTable& table, size_t row) const {
    const std::string_view label = table.Value(table.Rows[row], "Area");
    const int area = AreaOf.Find(label);
    if (area == 0)
        throw InputError(Where(table, row) + ": area " + Label(label) +
                         " is not in CONNECTIVITY - AREA");
    return Areas[static_cast<size_t>(area) - 1];
}

int Importer::LoadCase(const TabularTable& table, size_t row) const {
    const std::string_view name = table.Value(table.Rows[row], "LoadPat");
    auto it = PatternOf.find(name);
    if (it == PatternOf.end())
        throw InputError(Where(table, row) + ": load pattern " + Label(name) +
                         " is not in LOAD PATTERN DEFINITIONS");
    return it->second;
}

void ReadLoadTables(Importer& im) {
    const TModel& m = im.Model;
    const std::vector<double> selfWeight = ReadLoadPatterns(im);
    LoadRows rows(im);
    ReadJointLoads(rows);
    ReadFrameDistributedLoads(rows);
    ReadFramePointLoads(rows);
    for (const char* name : {"AREA LOADS - UNIFORM", "AREA LOADS - UNIFORM TO FRAME"})
        ReadAreaLoads(rows, name);
    AddSelfWeight(rows, selfWeight);
    rows.builder.Finish();
    for (const auto& [what, count] : rows.skipped)
        im.Warn(rows.firstLine[what], Int(count) + " rows of " + what + " cannot be carried",
                "skipped");
    std::string cases;
    for (int c = 1; c <= m.LoadCaseCount; ++c)
        cases += (c > 1 ? ", " : "") + m.LoadCaseNames[static_cast<size_t>(c)];
    im.Info("Load cases (one per load pattern): " + (cases.empty() ? std::string("none") : cases) +
            "; " + Int(m.LoadCount) + " load entries");
}

void ReadMassTables(Importer& im) {
    TModel& m = im.Model;
    const MassSource source = ReadMassSource(im);
    JointMasses jm(im);
    if (source.Elements) AddElementMasses(jm);
    if (source.Masses) {
        AddAddedMasses(jm);
    } else if (const TabularTable* t = im.Table("FRAME ADDED MASS ASSIGNMENTS");
               t != nullptr && !t->Rows.empty()) {
        im.Info("FRAME ADDED MASS ASSIGNMENTS: not part of the mass (the mass source leaves added "
                "masses out)");
    }
    if (source.Loads) AddLoadMasses(jm, source);
    std::vector<int> negative;
    for (int i = 1; i <= m.NodeCount; ++i) {
        double value = jm.Mass[static_cast<size_t>(i)];
        if (value < 0) {
            negative.push_back(i);
            value = 0;
        }
        TNODE& n = m.Nodes[static_cast<size_t>(i)];
        const std::array<double, 7>& own = jm.OwnMass[static_cast<size_t>(i)];
        for (size_t k = 1; k <= 6; ++k)
            n.Mass[k] = (k <= 3 ? value : 0) + own[k];
    }
    if (!negative.empty())
        im.Warn(0,
                Int(static_cast<long long>(negative.size())) +
                    " joints get a negative mass from upward loads (" + FirstLabels(im, negative) +
                    ")",
                "their mass is 0");
    im.Info("Masses lumped at joints (N s^2/mm, each translation): elements " +
            Num(jm.FromElements) + ", added " + Num(jm.FromAdded) + ", loads " + Num(jm.FromLoads) +
            ", total " + Num(jm.FromElements + jm.FromAdded + jm.FromLoads));
}

void ReportUnreadTables(Importer& im) {
    static const std::set<std::string_view> kRead = {
        "PROGRAM CONTROL",
        "JOINT COORDINATES",
        "MATERIAL PROPERTIES 01 - GENERAL",
        "MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES",
        "FRAME SECTION PROPERTIES 01 - GENERAL",
        "AREA SECTION PROPERTIES",
        "CONNECTIVITY - FRAME",
        "FRAME SECTION ASSIGNMENTS",
        "FRAME AUTO MESH ASSIGNMENTS",
        "FRAME LOCAL AXES ASSIGNMENTS 1 - TYPICAL",
        "FRAME RELEASE ASSIGNMENTS 1 - GENERAL",
        "CONNECTIVITY - AREA",
        "AREA SECTION ASSIGNMENTS",
        "AREA AUTO MESH ASSIGNMENTS",
        "CONNECTIVITY - SOLID",
        "SOLID PROPERTY DEFINITIONS",
        "SOLID PROPERTY ASSIGNMENTS",
        "JOINT RESTRAINT ASSIGNMENTS",
        "ACTIVE DEGREES OF FREEDOM",
        "CONSTRAINT DEFINITIONS - DIAPHRAGM",
        "CONSTRAINT DEFINITIONS - EQUAL",
        "JOINT CONSTRAINT ASSIGNMENTS",
        "LOAD PATTERN DEFINITIONS",
        "JOINT LOADS - FORCE",
        "FRAME LOADS - DISTRIBUTED",
        "FRAME LOADS - POINT",
        "AREA LOADS - UNIFORM",
        "AREA LOADS - UNIFORM TO FRAME",
        "MASS SOURCE",
        "FRAME ADDED MASS ASSIGNMENTS",
        "JOINT ADDED MASS ASSIGNMENTS",
        "AREA ADDED MASS ASSIGNMENTS",
        "COORDINATE SYSTEMS",
        "FRAME PROPERTY MODIFIERS",
        "FRAME RELEASE ASSIGNMENTS 2 - PARTIAL FIXITY",
        "FRAME INSERTION POINT ASSIGNMENTS",
        "FRAME OFFSET ALONG LENGTH ASSIGNMENTS",
        "JOINT SPRING ASSIGNMENTS 1 - UNCOUPLED",
    };
    // Tables whose content changes the structure or its loads: each is a warning.
    static const std::pair<std::string_view, std::string_view> kLost[] = {
        {"AREA STIFFNESS MODIFIERS", "property modifiers are not carried"},
        {"LANE", "moving loads are not carried"},
        {"VEHICLE", "moving loads are not carried"},
        {"MOVING LOAD", "moving loads are not carried"},
        {"SPRING", "springs are not carried"},
        {"LINK", "links are not carried"},
        {"CABLE", "cables are not carried"},
        {"TENDON", "tendons are not carried"},
        {"LOCAL AXES", "local axes of this kind are not carried"},
        {"LOADS", "loads of this kind are not carried"},
    };
    std::vector<std::string> unread;
    for (const TabularTable& t : im.File.Tables) {
        if (kRead.count(t.Name) || t.Name.starts_with("CONSTRAINT DEFINITIONS - ")) continue;
        bool warned = false;
        for (const auto& [part, why] : kLost)
            if (t.Name.find(part) != std::string::npos && !t.Rows.empty() &&
                !t.Name.starts_with("MATERIAL") && !t.Name.starts_with("FUNCTION") &&
                !t.Name.starts_with("CASE")) {
                im.Warn(t.Line,
                        "table " + t.Name + " (" + Int(static_cast<long long>(t.Rows.size())) +
                            " rows)",
                        std::string(why));
                warned = true;
                break;
            }
        if (!warned) unread.push_back(t.Name);
    }
    if (!unread.empty()) {
        std::string list;
        for (const std::string& name : unread)
            list += (list.empty() ? "" : "; ") + name;
        im.Info("Tables not used (analysis cases, functions, design, display and project data): " +
                list);
    }
}

} // namespace vandra::tabular
