// Reader of the LOAD section: load cases with joint forces and frame distributed loads.
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

namespace {

enum class CurrentKind { kNone, kForce, kDistributed };

// "      ADD=5  UX=10  UY=-2": each of UX, UY, UZ, RX, RY, RZ among T4..T15 takes the next token;
// MX, MY, MZ (the keys the V14 converter writes for moments) are read as RX, RY, RZ.
void FillJointForce(const S2kTokens& t, TLOAD& load) {
    for (int i = 4; i <= 15; ++i) {
        const std::string_view key = t[i];
        double* component = nullptr;
        if (key == "UX")
            component = &load.FX;
        else if (key == "UY")
            component = &load.FY;
        else if (key == "UZ")
            component = &load.FZ;
        else if (key == "RX" || key == "MX")
            component = &load.MX;
        else if (key == "RY" || key == "MY")
            component = &load.MY;
        else if (key == "RZ" || key == "MZ")
            component = &load.MZ;
        if (component) *component = parse::Float(t[i + 1]);
    }
}

// "      ADD=13  RD=0,1  U2=-20,-20": the stretch a..b (T5, T6) and the loads wa, wb (T8, T9) at
// its ends in the local direction T7; FX keeps the trapezoid's area (b - a) (wa + wb) / 2.
void FillDistributed(const S2kTokens& t, TLOAD& load, int lineIndex) {
    const std::string_view dir = t[7];
    if (dir == "U1")
        load.Dir = 1;
    else if (dir == "U2" || dir == "UZ")
        load.Dir = 2;
    else if (dir == "U3")
        load.Dir = 3;
    const double a = parse::Float(t[5]);
    const double b = parse::Float(t[6]);
    const double wa = parse::Float(t[8]);
    const double wb = parse::Float(t[9]);
    load.FX = (b - a) * 0.5 * (wa + wb);
    if (!std::isfinite(load.FX))
        throw InputError(text::Format(
            "Line %d: the distributed load (b - a) (wa + wb) / 2 is outside the range of numbers",
            {lineIndex + 1}));
}

} // namespace

// NAME lines (two-space indent) open a load case, TYPE lines (four) choose joint forces (FORCE) or
// frame distributed loads (DISTRIBUTED), ADD lines (six) are the entries. Every ADD line is
// counted in LoadCount; one met before any FORCE or DISTRIBUTED line leaves its record unfilled.
void ReadLoads(const S2kLineList& lines, TModel& model) {
    const SectionBounds bounds = FindSection(lines, kLoadKeyword);
    const DataLines data(bounds);
    S2kTokens t;

    int count = bounds.Found ? 0 : -1;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[2] == "ADD") ++count;
    }
    model.LoadCount = count;
    RebuildTable(model.Loads, count);
    model.LoadCaseNames.assign(1, std::string());
    model.LoadCaseCount = 0;

    int caseIdx = 0;
    CurrentKind kind = CurrentKind::kNone;
    int k = 0;
    for (int i = data.First; i <= data.Last; ++i) {
        Tokenize(lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") {
            model.LoadCaseNames.emplace_back(t[1]);
            caseIdx = ++model.LoadCaseCount;
        }
        if (t[2] == "FORCE") kind = CurrentKind::kForce;
        if (t[2] == "DISTRIBUTED") kind = CurrentKind::kDistributed;
        if (t[2] != "ADD" || kind == CurrentKind::kNone) continue;

        TLOAD& load = model.Loads[static_cast<size_t>(++k)];
        load.CaseIdx = caseIdx;
        load.Target = parse::Integer(t[3]);
        if (kind == CurrentKind::kForce) {
            load.Kind = kJointForce;
            CheckRange(load.Target, model.NodeCount, "joint", i);
            FillJointForce(t, load);
        } else {
            load.Kind = kFrameDistributed;
            CheckRange(load.Target, model.FrameCount, "frame", i);
            FillDistributed(t, load, i);
        }
    }
}

} // namespace vandra
