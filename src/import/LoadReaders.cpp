// Reader of the LOAD section: load cases with joint forces and frame distributed loads.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace vandra {

using s2k::CheckRange;
using s2k::ForEachDataLine;
using s2k::MisplacedKey;
using s2k::QuotedToken;
using s2k::SectionWarnings;

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

// What a joint force line gives that FillJointForce does not read, as a warning text: a key
// among T4..T15 other than UX, UY, UZ, RX, RY, RZ, or no key at all. Empty when all is read.
std::string UnreadForceKey(const S2kTokens& t) {
    static constexpr std::string_view kKeys[] = {"UX", "UY", "UZ", "RX", "RY",
                                                 "RZ", "MX", "MY", "MZ"};
    bool anyKey = false;
    for (int i = 4; i <= 15; ++i) {
        const std::string_view token = t[i];
        if (token.empty()) continue;
        if (std::find(std::begin(kKeys), std::end(kKeys), token) != std::end(kKeys)) {
            anyKey = true;
            ++i; // its value
        } else if (!parse::TryFloat(token)) {
            return "key " + s2k::QuotedToken(token) +
                   " is not UX, UY, UZ, RX, RY, RZ (or MX, MY, MZ)";
        }
    }
    return anyKey ? std::string() : "no force key UX, UY, UZ, RX, RY or RZ on the line";
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
// counted in LoadCount; one met before any FORCE or DISTRIBUTED line leaves its record unfilled
// (unfilled records end the table). One pass: each line is tokenized once.
void ReadLoads(const S2kInput& in, TModel& model) {
    const SectionBounds bounds = in.Sections.Of(kLoadKeyword);
    model.Loads.clear();
    if (bounds.Found) ReserveLarge(model.Loads, static_cast<size_t>(bounds.LineCount()) + 1);
    model.Loads.emplace_back();
    model.LoadCaseNames.assign(1, std::string());
    model.LoadCaseCount = 0;

    SectionWarnings skipped(in, model, kLoadKeyword);
    SectionWarnings keys(in, model, kLoadKeyword);
    SectionWarnings types(in, model, kLoadKeyword);
    SectionWarnings twice(in, model, kLoadKeyword);
    std::unordered_map<std::string_view, int> caseOfName;
    S2kTokens t;
    int adds = 0;
    int caseIdx = 0;
    CurrentKind kind = CurrentKind::kNone;
    ForEachDataLine(in, kLoadKeyword, [&](int i) {
        Tokenize(in.Lines[static_cast<size_t>(i)], t);
        if (t[0] == "NAME") {
            model.LoadCaseNames.emplace_back(t[1]);
            caseIdx = ++model.LoadCaseCount;
            // A case's loads are of the types its own TYPE lines name, never of the case before.
            kind = CurrentKind::kNone;
            const auto [it, added] = caseOfName.try_emplace(t[1], caseIdx);
            if (!added)
                twice.Add(i,
                          text::Format("load case %s is named twice (cases %d and %d)",
                                       {QuotedToken(t[1]), it->second, caseIdx}),
                          "both are kept; choose the case by its number");
        } else if (t[1] == "TYPE") {
            if (t[2] == "FORCE")
                kind = CurrentKind::kForce;
            else if (t[2] == "DISTRIBUTED")
                kind = CurrentKind::kDistributed;
            else {
                // Its ADD lines have another shape: read as forces or distributed loads they
                // would put wrong loads on the structure.
                kind = CurrentKind::kNone;
                types.Add(i, "load type " + QuotedToken(t[2]) + " is not read",
                          "its ADD lines fill no load");
            }
        } else if (t[2] != "ADD") {
            skipped.Add(i, "line is neither NAME (indented by 2), TYPE (by 4) nor ADD (by 6)",
                        "skipped");
        }
        if (t[2] != "ADD") return;
        ++adds;
        if (kind == CurrentKind::kNone) {
            skipped.Add(i, "ADD line before any TYPE=FORCE or TYPE=DISTRIBUTED line",
                        "no load is read from it");
            return;
        }

        TLOAD& load = model.Loads.emplace_back();
        load.CaseIdx = caseIdx;
        load.Target = parse::Integer(t[3]);
        if (kind == CurrentKind::kForce) {
            load.Kind = kJointForce;
            CheckRange(load.Target, model.NodeCount, "joint", i);
            if (std::string misplaced = UnreadForceKey(t); !misplaced.empty())
                keys.Add(i, std::move(misplaced), "not read");
            FillJointForce(t, load);
        } else {
            load.Kind = kFrameDistributed;
            CheckRange(load.Target, model.FrameCount, "frame", i);
            if (std::string misplaced = MisplacedKey(t, {{4, "RD"}}); !misplaced.empty())
                keys.Add(i, std::move(misplaced), "the line is read by position as it stands");
            FillDistributed(t, load, i);
            if (load.Dir == 0)
                keys.Add(i, "direction " + QuotedToken(t[7]) + " is not U1, U2, U3 or UZ",
                         "the load has no direction");
        }
    });
    skipped.Finish("lines skipped");
    keys.Finish("keys out of place");
    types.Finish("load types not read");
    twice.Finish("load case names given twice");
    model.LoadCount = bounds.Found ? adds : -1;
    if (!bounds.Found)
        model.Loads.clear();
    else
        model.Loads.resize(static_cast<size_t>(adds) + 1);
}

} // namespace vandra
