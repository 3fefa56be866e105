#include "convert/S2kWriter.h"

#include "import/S2kReaders.h"

#include "model/NumberText.h"

#include <cmath>
#include <string_view>

namespace vandra {
namespace {

constexpr std::string_view kEnd = "\r\n";

void Number(std::string& out, double v) {
    text::AppendGeneral(out, v);
}

// Names are fields of their line: blanks, "=", "," and double quotes would cut them.
std::string Field(const std::string& name, int& renamed) {
    std::string s = name.empty() ? "_" : name;
    for (char& c : s)
        if (static_cast<unsigned char>(c) <= ' ' || c == '=' || c == ',' || c == '"') c = '_';
    if (s != name) ++renamed;
    return s;
}

template <typename Record> const Record& At(const std::vector<Record>& table, int i) {
    static const Record kEmpty{};
    return i >= 0 && static_cast<size_t>(i) < table.size() ? table[static_cast<size_t>(i)] : kEmpty;
}

} // namespace

std::string WriteS2kText(const TModel& m, WarningList& lost) {
    auto note = [&](std::string what, std::string done) {
        lost.push_back({"", 0, std::move(what), std::move(done)});
    };
    int renamed = 0;
    std::string s = "; written by VANDRA";
    s += kEnd;
    s += kEnd;
    s += "SYSTEM";
    s += kEnd;
    s += "  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=";
    s += m.LengthUnit == kLengthMM   ? "mm"
         : m.LengthUnit == kLengthCM ? "cm"
         : m.LengthUnit == kLengthM  ? "m"
         : m.LengthUnit == kLengthIN ? "in"
                                     : "ft";
    s += "  FORCE=N";
    s += kEnd;
    s += kEnd;

    const int nodes = CountOf(m.NodeCount);
    int offGrid = 0;
    s += "JOINT";
    s += kEnd;
    for (int i = 1; i <= nodes; ++i) {
        const TNODE& n = m.Nodes[static_cast<size_t>(i)];
        text::AppendFormat(s, "  %d  X=", {i});
        Number(s, n.X);
        s += "  Y=";
        Number(s, n.Y);
        s += "  Z=";
        Number(s, n.Z);
        s += kEnd;
        for (double v : {n.X, n.Y, n.Z})
            if (std::abs(v * 10 - std::nearbyint(v * 10)) >
                1e-6 * std::max(1.0, std::abs(v * 10))) {
                ++offGrid;
                break;
            }
    }
    s += kEnd;
    if (offGrid > 0)
        note(text::FormatInt(offGrid) +
                 " joints have coordinates finer than 0.1 of the length unit",
             "the version 6 reader rounds them to 0.1");

    if (CountOf(m.DiaphCount) > 0) {
        s += "CONSTRAINT";
        s += kEnd;
        int written = 0;
        for (int d = 1; d <= m.DiaphCount; ++d) {
            const TDIAPH& diaph = m.Diaphs[static_cast<size_t>(d)];
            if (diaph.Master == 0) continue;
            text::AppendFormat(s, "  NAME=%d  TYPE=DIAPHRAGM  AXIS=Z", {++written});
            s += kEnd;
            for (int j = 1; j <= diaph.SlaveCount && static_cast<size_t>(j) < diaph.DiaNodes.size();
                 ++j) {
                text::AppendFormat(s, "    ADD=%d", {diaph.DiaNodes[static_cast<size_t>(j)]});
                s += kEnd;
            }
            text::AppendFormat(s, "    ADD=%d", {diaph.Master});
            s += kEnd;
        }
        s += kEnd;
    }

    s += "RESTRAINT";
    s += kEnd;
    static constexpr const char* kDof[] = {"", "U1", "U2", "U3", "R1", "R2", "R3"};
    for (int i = 1; i <= nodes; ++i) {
        const auto& r = m.Nodes[static_cast<size_t>(i)].Restraint;
        std::string list;
        for (int d = 1; d <= 6; ++d)
            if (r[static_cast<size_t>(d)]) list += std::string(list.empty() ? "" : ",") + kDof[d];
        if (list.empty()) continue;
        text::AppendFormat(s, "  ADD=%d  DOF=%s", {i, list});
        s += kEnd;
    }
    s += kEnd;

    s += "MASS";
    s += kEnd;
    int rotational = 0;
    for (int i = 1; i <= nodes; ++i) {
        const auto& mass = m.Nodes[static_cast<size_t>(i)].Mass;
        if (mass[4] != 0 || mass[5] != 0 || mass[6] != 0) ++rotational;
        if (mass[1] == 0 && mass[2] == 0 && mass[3] == 0) continue;
        text::AppendFormat(s, "  ADD=%d  U1=", {i});
        Number(s, mass[1]);
        s += "  U2=";
        Number(s, mass[2]);
        s += "  U3=";
        Number(s, mass[3]);
        s += kEnd;
    }
    s += kEnd;
    if (rotational > 0)
        note(text::FormatInt(rotational) + " joints have rotational masses", "left out");

    s += "MATERIAL";
    s += kEnd;
    for (int k = 1; k <= CountOf(m.MatCount); ++k) {
        const TMAT& mat = m.Mats[static_cast<size_t>(k)];
        s += "  NAME=" + Field(mat.Name, renamed) + "  IDES=N";
        s += kEnd;
        s += "    TYPE=ISOTROPIC  E=";
        Number(s, mat.E);
        s += "  U=";
        Number(s, mat.U);
        s += kEnd;
    }
    s += kEnd;

    s += "FRAME SECTION";
    s += kEnd;
    int given = 0;
    std::string retyped;
    for (int k = 1; k <= CountOf(m.SectionCount); ++k) {
        const TSECTION& sec = m.Sections[static_cast<size_t>(k)];
        const std::string name = Field(sec.Name, renamed);
        s += "  NAME=" + name + "  MAT=" + Field(At(m.Mats, sec.MatIdx).Name, renamed) + "  SH=";
        int dims = 1;
        switch (sec.Shape) {
        case kShapeRectangle:
            s += "R";
            dims = 2;
            break;
        case kShapeI:
            s += "I";
            dims = 6;
            break;
        case kShapeBox:
            s += "B";
            dims = 4;
            break;
        case kShapePipe:
            s += "P";
            dims = 2;
            break;
        default:
            s += "G";
            if (sec.GivenProps) ++given;
            break;
        }
        s += "  T=";
        for (int d = 1; d <= dims; ++d) {
            if (d > 1) s += ",";
            Number(s, sec.Shape == kShapeNone ? 0.0 : sec.T[static_cast<size_t>(d)]);
        }
        s += kEnd;
        if (FrameTypeOfName(name) != sec.FrameType) retyped += (retyped.empty() ? "" : ", ") + name;
    }
    s += kEnd;
    if (given > 0)
        note(text::FormatInt(given) + " frame sections have properties without a shape",
             "written without properties");
    if (!retyped.empty())
        note("frame sections whose first letter chooses another element type when read back: " +
                 retyped,
             "their frames get the element type of the first letter");

    s += "SHELL SECTION";
    s += kEnd;
    int notShell = 0;
    for (int k = 1; k <= CountOf(m.AreaSecCount); ++k) {
        const TAREASEC& sec = m.AreaSecs[static_cast<size_t>(k)];
        const bool shell = sec.ShellKind == 1;
        if (!shell) ++notShell;
        s += "  NAME=" + Field(sec.Name, renamed) +
             "  MAT=" + Field(At(m.Mats, sec.MatIdx).Name, renamed) +
             (shell ? "  TYPE=Shell,Shell  TH=" : "  TYPE=Membrane,Membrane  TH=");
        Number(s, sec.Thickness);
        s += ",";
        Number(s, sec.Thickness);
        s += kEnd;
    }
    s += kEnd;
    if (notShell > 0)
        note(text::FormatInt(notShell) + " shell sections are not of type shell",
             "read back without name, so their areas lose their section");

    s += "FRAME";
    s += kEnd;
    for (int k = 1; k <= CountOf(m.FrameCount); ++k) {
        const TFRAME& f = m.Frames[static_cast<size_t>(k)];
        text::AppendFormat(s, "  %d  J=%d,%d  SEC=", {k, f.NodeI, f.NodeJ});
        s += Field(f.SecName, renamed);
        text::AppendFormat(s, "  NSEG=%d  ANG=", {f.Nseg});
        Number(s, f.Angle);
        if (f.Release == kReleaseI) s += "  IREL=R2,R3";
        if (f.Release == kReleaseJ) s += "  JREL=R2,R3";
        s += kEnd;
    }
    s += kEnd;

    s += "SHELL";
    s += kEnd;
    for (int k = 1; k <= CountOf(m.ShellCount); ++k) {
        const TSHELL& sh = m.Shells[static_cast<size_t>(k)];
        // The reader swaps the third and fourth joints back.
        text::AppendFormat(s, "  %d  J=%d,%d,%d,%d  SEC=", {k, sh.N1, sh.N2, sh.N4, sh.N3});
        s += Field(sh.SecName, renamed);
        s += kEnd;
    }
    s += kEnd;

    if (CountOf(m.SolidCount) > 0) {
        s += "SOLID";
        s += kEnd;
        for (int k = 1; k <= m.SolidCount; ++k) {
            const auto& n = m.Solids[static_cast<size_t>(k)].N;
            text::AppendFormat(s, "  %d  J=%d,%d,%d,%d,%d,%d,%d,%d  SEC=%d",
                               {k, n[1], n[2], n[4], n[3], n[5], n[6], n[8], n[7],
                                m.Solids[static_cast<size_t>(k)].SecNo});
            s += kEnd;
        }
        s += kEnd;
    }

    s += "LOAD";
    s += kEnd;
    const int loads = CountOf(m.LoadCount);
    for (int c = 1; c <= m.LoadCaseCount && static_cast<size_t>(c) < m.LoadCaseNames.size(); ++c) {
        s += "  NAME=" + Field(m.LoadCaseNames[static_cast<size_t>(c)], renamed);
        s += kEnd;
        for (int kind : {kJointForce, kFrameDistributed}) {
            bool typed = false;
            for (int l = 1; l <= loads; ++l) {
                const TLOAD& load = m.Loads[static_cast<size_t>(l)];
                if (load.CaseIdx != c || load.Kind != kind) continue;
                if (!typed) {
                    s += kind == kJointForce ? "    TYPE=FORCE" : "    TYPE=DISTRIBUTED SPAN";
                    s += kEnd;
                    typed = true;
                }
                text::AppendFormat(s, "      ADD=%d", {load.Target});
                if (kind == kJointForce) {
                    static constexpr const char* kKeys[] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
                    const double v[] = {load.FX, load.FY, load.FZ, load.MX, load.MY, load.MZ};
                    for (int k = 0; k < 6; ++k) {
                        s += std::string("  ") + kKeys[k] + "=";
                        Number(s, v[k]);
                    }
                } else {
                    text::AppendFormat(s, "  RD=0,1  U%d=", {load.Dir});
                    Number(s, load.FX);
                    s += ",";
                    Number(s, load.FX);
                }
                s += kEnd;
            }
        }
    }
    s += kEnd;

    if (CountOf(m.EqualDofCount) > 0)
        note(text::FormatInt(m.EqualDofCount) + " equalDOF ties of equal constraints",
             "left out; the tied joints move independently");
    if (renamed > 0)
        note(text::FormatInt(renamed) + " names hold blanks, \"=\", \",\" or quotes",
             "those characters are written as \"_\"");
    s += "END";
    s += kEnd;
    return s;
}

} // namespace vandra
