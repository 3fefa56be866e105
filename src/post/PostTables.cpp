#include "post/PostTables.h"

#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/Envelopes.h"

#include <array>
#include <cmath>

namespace vandra {
namespace {

constexpr std::array<const char*, kReactionComponents> kReactionNames = {"FX", "FY", "FZ",
                                                                         "MX", "MY", "MZ"};
constexpr std::array<const char*, kModalDirections> kModalNames = {"UX", "UY", "UZ",
                                                                   "RX", "RY", "RZ"};

long long Int(size_t v) {
    return static_cast<long long>(v);
}

void EnvelopeColumns(std::vector<std::string>& columns, const std::string& name) {
    for (const char* part : {"Min", "MinStep", "Max", "MaxStep"})
        columns.push_back(name + part);
}

void EnvelopeCells(std::vector<TCell>& row, const TValueRange& r) {
    row.insert(row.end(), {r.Min, static_cast<long long>(r.MinStep), r.Max,
                           static_cast<long long>(r.MaxStep)});
}

int Components(ForceKind kind) {
    return kind == ForceKind::Beam ? kForceComponentCount : kind == ForceKind::Axial ? 1 : 0;
}

} // namespace

std::string CellText(const TCell& cell) {
    if (const auto* i = std::get_if<long long>(&cell)) return text::FormatInt(*i);
    // Rounded to six significant digits first, then written short: 37499.956 as 37500.
    if (const auto* d = std::get_if<double>(&cell))
        return text::FormatGeneral(std::isfinite(*d) ? parse::Float(text::FormatE(*d, 6)) : *d);
    if (const auto* w = std::get_if<std::string>(&cell)) return *w;
    return {};
}

TTable ForceTable(const TModel& model, const TForceResults& forces) {
    TTable table;
    table.Columns = {"Frame", "Component"};
    if (forces.Step == kEnvelopeStep) {
        EnvelopeColumns(table.Columns, "I");
        EnvelopeColumns(table.Columns, "J");
        table.Columns.insert(table.Columns.end(),
                             {"Min", "MinX", "MinStep", "Max", "MaxX", "MaxStep"});
        const TFrameForceEnvelope& envelope = forces.Envelope;
        for (size_t f = 1; f < envelope.Kind.size(); ++f)
            for (int c = 0; c < Components(envelope.Kind[f]); ++c) {
                const TComponentEnvelope& e = envelope.Frames[f][static_cast<size_t>(c)];
                std::vector<TCell>& row = table.AddRow();
                row = {Int(f), std::string(ForceComponentName(c))};
                EnvelopeCells(row, e.I);
                EnvelopeCells(row, e.J);
                row.insert(row.end(), {e.Along.Min.Value, e.Along.Min.X,
                                       static_cast<long long>(e.Along.MinStep), e.Along.Max.Value,
                                       e.Along.Max.X, static_cast<long long>(e.Along.MaxStep)});
            }
        return table;
    }
    table.Columns.insert(table.Columns.end(), {"I", "J", "Min", "MinX", "Max", "MaxX"});
    TMemberDiagram diagram;
    const TFrameForces& at = forces.AtStep;
    for (size_t f = 1; f < at.Kind.size(); ++f) {
        const int components = Components(at.Kind[f]);
        if (components == 0 ||
            !BuildFrameDiagram(model, forces.Loads, at, static_cast<int>(f), diagram))
            continue;
        for (int c = 0; c < components; ++c) {
            const auto k = static_cast<size_t>(c);
            const TDiagramExtremes e = diagram.Extremes(c);
            table.AddRow() = {Int(f),      std::string(ForceComponentName(c)),
                              at.Ends[f].I[k], at.Ends[f].J[k],
                              e.Min.Value, e.Min.X,
                              e.Max.Value, e.Max.X};
        }
    }
    return table;
}

TTable ReactionTable(const TReactionHistory& reactions, int step) {
    TTable table;
    table.Columns = {"Joint"};
    if (step == kEnvelopeStep) {
        const TReactionEnvelope envelope = EnvelopeOf(reactions);
        for (const char* name : kReactionNames)
            EnvelopeColumns(table.Columns, name);
        const auto add = [&](TCell joint, const std::array<TValueRange, kReactionComponents>& r) {
            std::vector<TCell>& row = table.AddRow();
            row.push_back(std::move(joint));
            for (const TValueRange& range : r)
                EnvelopeCells(row, range);
        };
        for (size_t k = 0; k < reactions.Joints.size(); ++k)
            add(static_cast<long long>(reactions.Joints[k]), envelope.Joints[k]);
        add(std::string("Total"), envelope.Total);
        return table;
    }
    table.Columns.insert(table.Columns.end(), kReactionNames.begin(), kReactionNames.end());
    const auto add = [&](TCell joint, const TReaction& r) {
        std::vector<TCell>& row = table.AddRow();
        row.push_back(std::move(joint));
        row.insert(row.end(), r.begin(), r.end());
    };
    for (size_t k = 0; k < reactions.Joints.size(); ++k)
        add(static_cast<long long>(reactions.Joints[k]), reactions.At(step, k));
    add(std::string("Total"), reactions.Total(step));
    return table;
}

TTable ModalRows(const TModalTable& modal, int only) {
    TTable table;
    table.Columns = {"Mode", "Period", "Frequency", "Eigenvalue"};
    for (const char* name : kModalNames)
        table.Columns.push_back(name);
    for (const char* name : kModalNames)
        table.Columns.push_back(std::string("Sum") + name);
    for (const TModeRow& mode : modal.Modes) {
        if (only != 0 && mode.Mode != only) continue;
        std::vector<TCell>& row = table.AddRow();
        row = {static_cast<long long>(mode.Mode), mode.Period, mode.Frequency, mode.Eigenvalue};
        for (const TModalValues* values : {&mode.Ratio, &mode.Cumulative})
            for (double v : *values) {
                if (modal.MassRatios)
                    row.emplace_back(v);
                else
                    row.emplace_back();
            }
    }
    return table;
}

TTable DriftTable(const TDrifts& drifts, int step) {
    TTable table;
    table.Columns = {"Storey", "Bottom", "Top"};
    if (step == kEnvelopeStep) {
        EnvelopeColumns(table.Columns, "DriftX");
        EnvelopeColumns(table.Columns, "DriftY");
    } else {
        table.Columns.insert(table.Columns.end(), {"DriftX", "JointX", "DriftY", "JointY"});
    }
    for (int s = 1; s <= drifts.StoreyCount(); ++s) {
        const auto k = static_cast<size_t>(s - 1);
        std::vector<TCell>& row = table.AddRow();
        row = {static_cast<long long>(s), drifts.Bottom[k], drifts.Top[k]};
        if (drifts.Pairs[k] == 0) {
            row.resize(table.Columns.size());
        } else if (step == kEnvelopeStep) {
            EnvelopeCells(row, drifts.RangeX[k]);
            EnvelopeCells(row, drifts.RangeY[k]);
        } else {
            const TStoreyDrift& d = drifts.At(step, s);
            row.insert(row.end(), {d.X, static_cast<long long>(d.JointX), d.Y,
                                   static_cast<long long>(d.JointY)});
        }
    }
    return table;
}

TTable StoreyShearTable(const TLevels& levels, const TStoreyShearHistory& shears, int step) {
    TTable table;
    table.Columns = {"Storey", "Bottom", "Top"};
    const bool envelope = step == kEnvelopeStep;
    if (envelope) {
        EnvelopeColumns(table.Columns, "ShearX");
        EnvelopeColumns(table.Columns, "ShearY");
    } else {
        table.Columns.insert(table.Columns.end(), {"ShearX", "ShearY"});
    }
    table.Columns.insert(table.Columns.end(), {"Frames", "Missing"});
    if (shears.Steps < 1 || (!envelope && (step < 1 || step > shears.Steps))) return table;
    for (int s = 1; s <= shears.Storeys && static_cast<size_t>(s) < levels.Levels.size(); ++s) {
        std::vector<TCell>& row = table.AddRow();
        row = {Int(static_cast<size_t>(s)), levels.Levels[static_cast<size_t>(s - 1)].Z,
               levels.Levels[static_cast<size_t>(s)].Z};
        const TStoreyShear& at = shears.At(envelope ? shears.Steps : step, s);
        if (envelope) {
            TValueRange x, y;
            for (int k = 1; k <= shears.Steps; ++k) {
                Take(x, shears.At(k, s).X, k);
                Take(y, shears.At(k, s).Y, k);
            }
            EnvelopeCells(row, x);
            EnvelopeCells(row, y);
        } else {
            row.insert(row.end(), {at.X, at.Y});
        }
        row.insert(row.end(), {static_cast<long long>(at.Frames), static_cast<long long>(at.Missing)});
    }
    return table;
}

} // namespace vandra

namespace vandra {

std::vector<double> BaseShears(const TReactionHistory& reactions, int direction) {
    std::vector<double> shears;
    shears.reserve(static_cast<size_t>(reactions.Steps));
    for (int step = 1; step <= reactions.Steps; ++step)
        shears.push_back(-reactions.Total(step)[static_cast<size_t>(direction)]);
    return shears;
}

TProfile DriftProfile(const TDrifts& drifts, int direction) {
    TProfile profile;
    for (size_t k = 0; k < drifts.Top.size(); ++k) {
        const TValueRange& r = direction == 0 ? drifts.RangeX[k] : drifts.RangeY[k];
        const double largest = drifts.Pairs[k] == 0 ? 0 : -r.Min > r.Max ? r.Min : r.Max;
        profile.Drift.insert(profile.Drift.end(), {largest, largest});
        profile.Height.insert(profile.Height.end(), {drifts.Bottom[k], drifts.Top[k]});
    }
    return profile;
}

} // namespace vandra
