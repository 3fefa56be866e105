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

template <typename Record> const Record& At(const std::vector<Record>& table, int i) {
    static const Record kEmpty{};
    return i >= 0 && static_cast<size_t>(i) < table.size() ? table[static_cast<size_t>(i)] : kEmpty;
}

// The text being written, and what it cannot hold.
struct S2kOut {
    explicit S2kOut(WarningList& notes) : lost(notes) {}

    void Line(std::string_view text) {
        s += text;
        s += kEnd;
    }
    void End() { s += kEnd; }
    void Note(std::string what, std::string done) {
        lost.push_back({"", 0, std::move(what), std::move(done)});
    }
    // Names are fields of their line: blanks, "=", "," and double quotes would cut them.
    std::string Field(const std::string& name) {
        std::string f = name.empty() ? "_" : name;
        for (char& c : f)
            if (static_cast<unsigned char>(c) <= ' ' || c == '=' || c == ',' || c == '"') c = '_';
        if (f != name) ++renamed;
        return f;
    }

    std::string s;
    WarningList& lost;
    int renamed = 0; // names written with "_" for characters that would cut them
};

void WriteSystem(const TModel& m, S2kOut& out) {
    out.Line("; written by VANDRA");
    out.End();
    out.Line("SYSTEM");
    out.s += "  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=";
    out.s += m.LengthUnit == kLengthMM   ? "mm"
             : m.LengthUnit == kLengthCM ? "cm"
             : m.LengthUnit == kLengthM  ? "m"
             : m.LengthUnit == kLengthIN ? "in"
                                         : "ft";
    out.Line("  FORCE=N");
    out.End();
}

void WriteJoints(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    int offGrid = 0;
    out.Line("JOINT");
    for (int i = 1; i <= CountOf(m.NodeCount); ++i) {
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
    out.End();
    if (offGrid > 0)
        out.Note(text::FormatInt(offGrid) +
                     " joints have coordinates finer than 0.1 of the length unit",
                 "the version 6 reader rounds them to 0.1");
}

// One diaphragm per CONSTRAINT entry, its master added last; a diaphragm without a master is left
// out.
void WriteConstraints(const TModel& m, S2kOut& out) {
    if (CountOf(m.DiaphCount) == 0) return;
    std::string& s = out.s;
    out.Line("CONSTRAINT");
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
    out.End();
}

void WriteRestraints(const TModel& m, S2kOut& out) {
    static constexpr const char* kDof[] = {"", "U1", "U2", "U3", "R1", "R2", "R3"};
    out.Line("RESTRAINT");
    for (int i = 1; i <= CountOf(m.NodeCount); ++i) {
        const auto& r = m.Nodes[static_cast<size_t>(i)].Restraint;
        std::string list;
        for (int d = 1; d <= 6; ++d)
            if (r[static_cast<size_t>(d)]) list += std::string(list.empty() ? "" : ",") + kDof[d];
        if (list.empty()) continue;
        text::AppendFormat(out.s, "  ADD=%d  DOF=%s", {i, list});
        out.End();
    }
    out.End();
}

// The translational masses; rotational ones are left out.
void WriteMasses(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    out.Line("MASS");
    int rotational = 0;
    for (int i = 1; i <= CountOf(m.NodeCount); ++i) {
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
    out.End();
    if (rotational > 0)
        out.Note(text::FormatInt(rotational) + " joints have rotational masses", "left out");
}

void WriteMaterials(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    out.Line("MATERIAL");
    for (int k = 1; k <= CountOf(m.MatCount); ++k) {
        const TMAT& mat = m.Mats[static_cast<size_t>(k)];
        out.Line("  NAME=" + out.Field(mat.Name) + "  IDES=N");
        s += "    TYPE=ISOTROPIC  E=";
        Number(s, mat.E);
        s += "  U=";
        Number(s, mat.U);
        s += kEnd;
    }
    out.End();
}

// Sections by shape and dimensions: one without a shape is written as SH=G without properties, and
// the first letter of the name chooses the element type when read back.
void WriteFrameSections(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    out.Line("FRAME SECTION");
    int given = 0;
    std::string retyped;
    for (int k = 1; k <= CountOf(m.SectionCount); ++k) {
        const TSECTION& sec = m.Sections[static_cast<size_t>(k)];
        const std::string name = out.Field(sec.Name);
        s += "  NAME=" + name + "  MAT=" + out.Field(At(m.Mats, sec.MatIdx).Name) + "  SH=";
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
    out.End();
    if (given > 0)
        out.Note(text::FormatInt(given) + " frame sections have properties without a shape",
                 "written without properties");
    if (!retyped.empty())
        out.Note("frame sections whose first letter chooses another element type when read back: " +
                     retyped,
                 "their frames get the element type of the first letter");
}

void WriteShellSections(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    out.Line("SHELL SECTION");
    int notShell = 0;
    for (int k = 1; k <= CountOf(m.AreaSecCount); ++k) {
        const TAREASEC& sec = m.AreaSecs[static_cast<size_t>(k)];
        const bool shell = sec.ShellKind == 1;
        if (!shell) ++notShell;
        s += "  NAME=" + out.Field(sec.Name) + "  MAT=" + out.Field(At(m.Mats, sec.MatIdx).Name) +
             (shell ? "  TYPE=Shell,Shell  TH=" : "  TYPE=Membrane,Membrane  TH=");
        Number(s, sec.Thickness);
        s += ",";
        Number(s, sec.Thickness);
        s += kEnd;
    }
    out.End();
    if (notShell > 0)
        out.Note(text::FormatInt(notShell) + " shell sections are not of type shell",
                 "read back without name, so their areas lose their section");
}

void WriteFrames(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    out.Line("FRAME");
    for (int k = 1; k <= CountOf(m.FrameCount); ++k) {
        const TFRAME& f = m.Frames[static_cast<size_t>(k)];
        text::AppendFormat(s, "  %d  J=%d,%d  SEC=", {k, f.NodeI, f.NodeJ});
        s += out.Field(f.SecName);
        text::AppendFormat(s, "  NSEG=%d  ANG=", {f.Nseg});
        Number(s, f.Angle);
        if (f.Release == kReleaseI) s += "  IREL=R2,R3";
        if (f.Release == kReleaseJ) s += "  JREL=R2,R3";
        s += kEnd;
    }
    out.End();
}

void WriteShells(const TModel& m, S2kOut& out) {
    std::string& s = out.s;
    out.Line("SHELL");
    for (int k = 1; k <= CountOf(m.ShellCount); ++k) {
        const TSHELL& sh = m.Shells[static_cast<size_t>(k)];
        // The reader swaps the third and fourth joints back.
        text::AppendFormat(s, "  %d  J=%d,%d,%d,%d  SEC=", {k, sh.N1, sh.N2, sh.N4, sh.N3});
        s += out.Field(sh.SecName);
        s += kEnd;
    }
    out.End();
}

void WriteSolids(const TModel& m, S2kOut& out) {
    if (CountOf(m.SolidCount) == 0) return;
    out.Line("SOLID");
    for (int k = 1; k <= m.SolidCount; ++k) {
        const auto& n = m.Solids[static_cast<size_t>(k)].N;
        text::AppendFormat(out.s, "  %d  J=%d,%d,%d,%d,%d,%d,%d,%d  SEC=%d",
                           {k, n[1], n[2], n[4], n[3], n[5], n[6], n[8], n[7],
                            m.Solids[static_cast<size_t>(k)].SecNo});
        out.End();
    }
    out.End();
}

// The loads of one case and kind, under one TYPE line.
void WriteCaseLoads(const TModel& m, int c, int kind, S2kOut& out) {
    std::string& s = out.s;
    bool typed = false;
    for (int l = 1; l <= CountOf(m.LoadCount); ++l) {
        const TLOAD& load = m.Loads[static_cast<size_t>(l)];
        if (load.CaseIdx != c || load.Kind != kind) continue;
        if (!typed) {
            out.Line(kind == kJointForce ? "    TYPE=FORCE" : "    TYPE=DISTRIBUTED SPAN");
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

void WriteLoads(const TModel& m, S2kOut& out) {
    out.Line("LOAD");
    for (int c = 1; c <= m.LoadCaseCount && static_cast<size_t>(c) < m.LoadCaseNames.size(); ++c) {
        out.Line("  NAME=" + out.Field(m.LoadCaseNames[static_cast<size_t>(c)]));
        for (int kind : {kJointForce, kFrameDistributed})
            WriteCaseLoads(m, c, kind, out);
    }
    out.End();
}

} // namespace

std::string WriteS2kText(const TModel& m, WarningList& lost) {
    S2kOut out(lost);
    WriteSystem(m, out);
    WriteJoints(m, out);
    WriteConstraints(m, out);
    WriteRestraints(m, out);
    WriteMasses(m, out);
    WriteMaterials(m, out);
    WriteFrameSections(m, out);
    WriteShellSections(m, out);
    WriteFrames(m, out);
    WriteShells(m, out);
    WriteSolids(m, out);
    WriteLoads(m, out);
    if (CountOf(m.EqualDofCount) > 0)
        out.Note(text::FormatInt(m.EqualDofCount) + " equalDOF ties of equal constraints",
                 "left out; the tied joints move independently");
    if (out.renamed > 0)
        out.Note(text::FormatInt(out.renamed) + " names hold blanks, \"=\", \",\" or quotes",
                 "those characters are written as \"_\"");
    out.Line("END");
    return std::move(out.s);
}

} // namespace vandra
