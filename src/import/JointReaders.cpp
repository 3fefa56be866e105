// Readers of what belongs to joints: JOINT, CONSTRAINT, RESTRAINT and MASS.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vandra {

using s2k::CheckRange;
using s2k::ForEachDataLine;
using s2k::MisplacedKey;
using s2k::QuotedToken;
using s2k::RebuildTable;
using s2k::SectionWarnings;

double RoundToTenth(double value) {
    const double tenths = value * 10;
    // Beyond about 1e15 a double has no tenths left to round; keep the value as it is.
    if (!std::isfinite(tenths)) return value;
    return std::nearbyint(tenths) / 10;
}

namespace {

// True when a joint's label is the number k, as it is in files whose joints are numbered from 1
// in line order.
bool LabelIs(std::string_view label, int k) {
    char digits[12];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, k);
    return label == std::string_view(digits, static_cast<size_t>(end - digits));
}

} // namespace

// "  1  X=0  Y=0  Z=3000": the k-th line is joint k; its own label (T0) is not read, but a label
// other than k is reported once, since references by label then address other joints.
void ReadJoints(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kJointKeyword);
    model.NodeCount = bounds.LineCount();
    RebuildTable(model.Nodes, model.NodeCount);
    // Tenths of a millimetre are the precision of a model in millimetres; in metres or feet they
    // would move the joints.
    const bool tenths = model.LengthUnit == kLengthMM;
    const auto coordinate = [tenths](std::string_view token) {
        const double value = parse::Float(token);
        return tenths ? RoundToTenth(value) : value;
    };
    SectionWarnings keys(in, model, kJointKeyword);
    int relabelled = 0;
    int firstRelabelled = 0;
    std::string firstLabel;
    S2kTokens t;
    int k = 0;
    ForEachDataLine(in, kJointKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        TNODE& node = model.Nodes[static_cast<size_t>(++k)];
        if (!LabelIs(t[0], k) && relabelled++ == 0) {
            firstRelabelled = i;
            firstLabel = QuotedToken(t[0]);
        }
        if (std::string misplaced = MisplacedKey(t, {{1, "X"}, {3, "Y"}, {5, "Z"}});
            !misplaced.empty())
            keys.Add(i, std::move(misplaced), "the line is read by position as it stands");
        node.X = coordinate(t[2]);
        node.Y = coordinate(t[4]);
        node.Z = coordinate(t[6]);
    });
    keys.Finish("keys out of place");
    if (relabelled > 0)
        model.Warnings.push_back(TWarning{
            in.File, firstRelabelled + 1,
            text::Format("JOINT: joint labels differ from their line positions (lines: %d); "
                         "the joint labelled %s is joint %d",
                         {relabelled, firstLabel, firstRelabelled - bounds.Start}),
            "joints are numbered by their line; restraints, masses, frames and loads address "
            "these numbers, not the labels"});
}

// "  ADD=7  DOF=U1,U2,U3": every degree of freedom named among T3..T8 is fixed.
void ReadRestraints(const S2kInput& in, TModel& model) {
    static constexpr std::string_view kDofNames[7] = {"", "U1", "U2", "U3", "R1", "R2", "R3"};
    SectionWarnings keys(in, model, kRestraintKeyword);
    S2kTokens t;
    ForEachDataLine(in, kRestraintKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        if (std::string misplaced = MisplacedKey(t, {{0, "ADD"}, {2, "DOF"}}); !misplaced.empty())
            keys.Add(i, std::move(misplaced),
                     t[0] == "ADD" ? "the line is read by position as it stands"
                                   : "the line is skipped: its joint gets no restraint");
        if (t[0] != "ADD") return;
        const int n = parse::Integer(t[1]);
        CheckRange(n, model.NodeCount, "joint", i);
        TNODE& node = model.Nodes[static_cast<size_t>(n)];
        for (int k = 3; k <= 8; ++k)
            for (int dof = 1; dof <= 6; ++dof)
                if (t[k] == kDofNames[dof]) node.Restraint[static_cast<size_t>(dof)] = 1;
    });
    keys.Finish("keys out of place");
}

// "  ADD=7  U1=6.1  U2=6.1  U3=0": U1, U2 and U3 are read only at T2, T4 and T6.
void ReadMasses(const S2kInput& in, TModel& model) {
    SectionWarnings keys(in, model, kMassKeyword);
    SectionWarnings noU1(in, model, kMassKeyword);
    S2kTokens t;
    ForEachDataLine(in, kMassKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        const int n = parse::Integer(t[1]);
        CheckRange(n, model.NodeCount, "joint", i);
        TNODE& node = model.Nodes[static_cast<size_t>(n)];
        // Each component is read only at its own place; one given elsewhere is lost.
        std::string misplaced = MisplacedKey(t, {{0, "ADD"}, {2, "U1"}});
        if (misplaced.empty() && !t[4].empty()) misplaced = MisplacedKey(t, {{4, "U2"}});
        if (misplaced.empty() && !t[6].empty()) misplaced = MisplacedKey(t, {{6, "U3"}});
        if (!misplaced.empty())
            keys.Add(i, std::move(misplaced),
                     "components not at their places are not read (U1, U2, U3 must come in this "
                     "order)");
        if (t[2] == "U1") node.Mass[1] = parse::Float(t[3]);
        if (t[4] == "U2") node.Mass[2] = parse::Float(t[5]);
        if (t[6] == "U3") node.Mass[3] = parse::Float(t[7]);
        if (node.Mass[1] == 0 && (node.Mass[2] != 0 || node.Mass[3] != 0))
            noU1.Add(i, text::Format("joint %d has no U1 mass but a U2 or U3 mass", {n}),
                     "the masses are kept as read");
    });
    keys.Finish("keys out of place");
    noU1.Finish("a U1 mass of 0 beside a U2 or U3 mass");
}

// Every constraint is a rigid diaphragm: a NAME line (two-space indent) with its number
// 1..DiaphCount, then one ADD line per joint (four spaces). The joint of the last ADD line is the
// master, the others are the slaves in file order. A group without ADD lines has master 0 and no
// slaves.
void ReadConstraints(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kConstraintKeyword);
    SectionWarnings skipped(in, model, kConstraintKeyword);
    S2kTokens t;

    int count = bounds.Found ? 0 : -1;
    ForEachDataLine(in, kConstraintKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") ++count;
    });
    model.DiaphCount = count;
    RebuildTable(model.Diaphs, count);
    for (TDIAPH& d : model.Diaphs)
        d.DiaNodes.assign(1, 0);

    std::vector<bool> named(model.Diaphs.size(), false);
    // The diaphragm that holds each joint: the solver ties a joint to one diaphragm only.
    std::vector<int> owner(static_cast<size_t>(std::max(model.NodeCount, 0)) + 1, 0);
    int d = 0;
    ForEachDataLine(in, kConstraintKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        if (t[0] != "NAME" && t[1] != "ADD")
            skipped.Add(i,
                        "line is neither NAME=<number> (indented by 2) nor ADD=<joint> "
                        "(indented by 4)",
                        "skipped");
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
            int& held = owner[static_cast<size_t>(joint)];
            if (held == d)
                throw InputError(text::Format("Line %d: joint %d is added twice to diaphragm %d",
                                              {i + 1, joint, d}));
            if (held != 0)
                throw InputError(text::Format("Line %d: joint %d of diaphragm %d is in diaphragm "
                                              "%d already; a joint can be in one diaphragm only",
                                              {i + 1, joint, d, held}));
            held = d;
            model.Diaphs[static_cast<size_t>(d)].DiaNodes.push_back(joint);
        }
    });
    skipped.Finish("lines skipped");

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
