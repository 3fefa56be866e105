// Readers of what belongs to joints: JOINT, CONSTRAINT, RESTRAINT and MASS.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <cmath>

namespace vandra {

using s2k::CheckRange;
using s2k::DataLines;
using s2k::RebuildTable;

double RoundToTenth(double value) {
    const double tenths = value * 10;
    // Beyond about 1e15 a double has no tenths left to round; keep the value as it is.
    if (!std::isfinite(tenths)) return value;
    return std::nearbyint(tenths) / 10;
}

// "  1  X=0  Y=0  Z=3000": the k-th line is joint k; its own label (T0) is not read.
void ReadJoints(const S2kLineList& lines, TModel& model) {
    const SectionBounds bounds = FindSection(lines, kJointKeyword);
    model.NodeCount = bounds.LineCount();
    RebuildTable(model.Nodes, model.NodeCount);
    const DataLines data(bounds);
    // Tenths of a millimetre are the precision of a model in millimetres; in metres or feet they
    // would move the joints.
    const bool tenths = model.LengthUnit == kLengthMM;
    const auto coordinate = [tenths](std::string_view token) {
        const double value = parse::Float(token);
        return tenths ? RoundToTenth(value) : value;
    };
    S2kTokens t;
    int k = 0;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        TNODE& node = model.Nodes[static_cast<size_t>(++k)];
        node.X = coordinate(t[2]);
        node.Y = coordinate(t[4]);
        node.Z = coordinate(t[6]);
    }
}

// "  ADD=7  DOF=U1,U2,U3": every degree of freedom named among T3..T8 is fixed.
void ReadRestraints(const S2kLineList& lines, TModel& model) {
    static constexpr std::string_view kDofNames[7] = {"", "U1", "U2", "U3", "R1", "R2", "R3"};
    const DataLines data(FindSection(lines, kRestraintKeyword));
    S2kTokens t;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[0] != "ADD") continue;
        const int n = parse::Integer(t[1]);
        CheckRange(n, model.NodeCount, "joint", i);
        TNODE& node = model.Nodes[static_cast<size_t>(n)];
        for (int k = 3; k <= 8; ++k)
            for (int dof = 1; dof <= 6; ++dof)
                if (t[k] == kDofNames[dof]) node.Restraint[static_cast<size_t>(dof)] = 1;
    }
}

// "  ADD=7  U1=6.1  U2=6.1  U3=0": U1, U2 and U3 are read only at T2, T4 and T6.
void ReadMasses(const S2kLineList& lines, TModel& model) {
    const DataLines data(FindSection(lines, kMassKeyword));
    S2kTokens t;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        const int n = parse::Integer(t[1]);
        CheckRange(n, model.NodeCount, "joint", i);
        TNODE& node = model.Nodes[static_cast<size_t>(n)];
        if (t[2] == "U1") node.Mass[1] = parse::Float(t[3]);
        if (t[4] == "U2") node.Mass[2] = parse::Float(t[5]);
        if (t[6] == "U3") node.Mass[3] = parse::Float(t[7]);
    }
}

// Every constraint is a rigid diaphragm: a NAME line (two-space indent) with its number
// 1..DiaphCount, then one ADD line per joint (four spaces). The joint of the last ADD line is the
// master, the others are the slaves in file order. A group without ADD lines has master 0 and no
// slaves.
void ReadConstraints(const S2kLineList& lines, TModel& model) {
    const SectionBounds bounds = FindSection(lines, kConstraintKeyword);
    const DataLines data(bounds);
    S2kTokens t;

    int count = bounds.Found ? 0 : -1;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") ++count;
    }
    model.DiaphCount = count;
    RebuildTable(model.Diaphs, count);
    for (TDIAPH& d : model.Diaphs)
        d.DiaNodes.assign(1, 0);

    std::vector<bool> named(model.Diaphs.size(), false);
    int d = 0;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") {
            d = parse::Integer(t[1]);
            CheckRange(d, model.DiaphCount, "diaphragm", i);
            if (named[static_cast<size_t>(d)])
                throw InputError(text::Format("Line %d: diaphragm %d is named twice", {i + 1, d}));
            named[static_cast<size_t>(d)] = true;
        }
        if (t[1] == "ADD") {
            if (d == 0)
                throw InputError(text::Format(
                    "Line %d: ADD line outside any diaphragm (no NAME line before it)", {i + 1}));
            const int joint = parse::Integer(t[2]);
            CheckRange(joint, model.NodeCount, "joint", i);
            model.Diaphs[static_cast<size_t>(d)].DiaNodes.push_back(joint);
        }
    }

    for (int k = 1; k <= model.DiaphCount; ++k) {
        TDIAPH& diaph = model.Diaphs[static_cast<size_t>(k)];
        if (diaph.DiaNodes.size() > 1) {
            diaph.Master = diaph.DiaNodes.back();
            diaph.DiaNodes.pop_back();
        }
        diaph.SlaveCount = static_cast<int>(diaph.DiaNodes.size()) - 1;
    }
}

} // namespace vandra
