#include "motion/Manifest.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "motion/JsonFields.h"
#include "motion/JsonWriter.h"
#include "motion/MotionFile.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace vandra::motion {
namespace {

using json::Json;

constexpr size_t kMaxManifestBytes = size_t{256} << 20;

constexpr const char* kStatusNames[] = {"pending", "running", "done", "failed"};

const char* KindName(IntensityKind kind) {
    return kind == IntensityKind::kFactor ? "factor" : "level";
}

void WriteRecord(JsonWriter& out, const ManifestRecord& r, const std::string& path) {
    out.BeginObject(true);
    out.StringField("file", PathFrom(path, r.source.path));
    out.StringField("label", r.label);
    if (r.source.format == RecordFormat::kColumns) {
        out.NumberField("dt", r.source.dt);
        out.IntegerField("column", r.source.column);
        out.IntegerField("skip", r.source.skipLines);
    }
    if (!r.problem.empty()) {
        out.StringField("problem", r.problem);
        out.EndObject();
        return;
    }
    if (r.source.format == RecordFormat::kPeer) out.NumberField("dt", r.dt);
    out.IntegerField("steps", r.steps);
    out.NumberField("pga", r.pga);
    if (r.sa) out.NumberField("sa", *r.sa);
    out.EndObject();
}

void WriteRun(JsonWriter& out, const ManifestRun& run) {
    out.BeginObject(true);
    out.StringField("folder", run.folder);
    out.IntegerField("record", run.record);
    out.IntegerField("level", run.level);
    out.NumberField("scale", run.scale);
    out.StringField("status", kStatusNames[static_cast<int>(run.status)]);
    if (!run.reason.empty()) out.StringField("reason", run.reason);
    if (run.result) {
        out.Key("converged");
        out.Bool(run.result->converged);
        const RunResult& r = *run.result;
        for (const auto& [name, value] : {std::pair{"peakDrift", r.peakDrift},
                                          {"peakRoof", r.peakRoof},
                                          {"peakBaseShear", r.peakBaseShear}}) {
            out.Key(name);
            // A run that diverged may have no number for a peak.
            std::isfinite(value) ? out.Number(value) : out.Null();
        }
        out.NumberField("time", r.time);
    }
    out.EndObject();
}

// A number that must be finite and not negative (peaks, sizes), or positive.
double NonNegative(const Json& v, const std::string& where, bool positive = false) {
    const double d = json::Number(v, where);
    if (!std::isfinite(d) || d < 0 || (positive && d == 0))
        throw InputError(where + ": " + json::ValueText(v) + " is not " +
                         (positive ? "positive" : "zero or positive"));
    return d;
}

int Index(const Json& v, const std::string& where, size_t size) {
    const long long i = json::Integer(v, where);
    if (i < 0 || static_cast<size_t>(i) >= size)
        throw InputError(where + ": " + json::ValueText(v) + " is not from 0 to " +
                         text::FormatInt(static_cast<long long>(size) - 1));
    return static_cast<int>(i);
}

ManifestRecord ReadRecordEntry(const Json& e, const std::string& path, const std::string& where) {
    json::Object(e, "a record", where);
    const auto key = [&](const char* k) { return json::KeyWhere(where, k); };
    ManifestRecord r;
    r.source.path = PathBeside(path, json::String(json::Required(e, "file", where), key("file")));
    r.label = json::String(json::Required(e, "label", where), key("label"));
    if (json::Optional(e, "column")) {
        r.source.format = RecordFormat::kColumns;
        r.source.dt = NonNegative(json::Required(e, "dt", where), key("dt"), true);
        r.source.column = Index(json::Required(e, "column", where), key("column"), 1000001);
        r.source.skipLines = Index(json::Required(e, "skip", where), key("skip"), 1000001);
        if (r.source.column == 0) throw InputError(key("column") + ": 0 is not a column number");
    }
    if (const Json* problem = json::Optional(e, "problem")) {
        r.problem = json::String(*problem, key("problem"));
        return r;
    }
    r.dt = NonNegative(json::Required(e, "dt", where), key("dt"), true);
    r.steps = Index(json::Required(e, "steps", where), key("steps"), kMaxRecordValues + 1LL);
    r.pga = NonNegative(json::Required(e, "pga", where), key("pga"));
    if (const Json* sa = json::Optional(e, "sa")) r.sa = NonNegative(*sa, key("sa"), true);
    return r;
}

ManifestRun ReadRunEntry(const Json& e, const Manifest& m, const std::string& where) {
    json::Object(e, "a run", where);
    const auto key = [&](const char* k) { return json::KeyWhere(where, k); };
    ManifestRun run;
    run.folder = json::String(json::Required(e, "folder", where), key("folder"));
    if (!IsSafeFolderName(run.folder))
        throw InputError(key("folder") + ": \"" + run.folder +
                         "\" is not a folder name of letters, digits, '_' and '-'");
    run.record = Index(json::Required(e, "record", where), key("record"), m.records.size());
    run.level = Index(json::Required(e, "level", where), key("level"), m.intensities.size());
    run.scale = NonNegative(json::Required(e, "scale", where), key("scale"));
    const std::string& status = json::String(json::Required(e, "status", where), key("status"));
    const auto* name = std::find(std::begin(kStatusNames), std::end(kStatusNames), status);
    if (name == std::end(kStatusNames))
        throw InputError(key("status") + ": \"" + status +
                         "\" is not pending, running, done or failed");
    run.status = static_cast<RunStatus>(name - std::begin(kStatusNames));
    if (const Json* reason = json::Optional(e, "reason"))
        run.reason = json::String(*reason, key("reason"));
    if (const Json* converged = json::Optional(e, "converged")) {
        RunResult result;
        result.converged = json::Bool(*converged, key("converged"));
        const auto peak = [&](const char* k) {
            const Json& v = json::Required(e, k, where);
            return v.is_null() ? std::nan("") : NonNegative(v, key(k));
        };
        result.peakDrift = peak("peakDrift");
        result.peakRoof = peak("peakRoof");
        result.peakBaseShear = peak("peakBaseShear");
        if (const Json* time = json::Optional(e, "time"))
            result.time = NonNegative(*time, key("time"));
        run.result = result;
    }
    if (run.status == RunStatus::kDone && !run.result)
        throw InputError(where + ": a done run without \"converged\" and its peaks");
    return run;
}

} // namespace

std::string ManifestText(const Manifest& m, const std::string& path) {
    JsonWriter out;
    out.BeginObject();
    out.IntegerField("direction", m.direction);
    out.StringField("intensity", KindName(m.kind));
    out.Key("intensities");
    out.BeginArray(true);
    for (double v : m.intensities)
        out.Number(v);
    out.EndArray();
    if (m.period) out.NumberField("period", *m.period);
    out.NumberField("damping", m.damping);
    out.Key("records");
    out.BeginArray();
    for (const ManifestRecord& r : m.records)
        WriteRecord(out, r, path);
    out.EndArray();
    out.Key("runs");
    out.BeginArray();
    for (const ManifestRun& run : m.runs)
        WriteRun(out, run);
    out.EndArray();
    out.EndObject();
    return out.Take();
}

void WriteManifest(const Manifest& manifest, const std::string& path) {
    WriteFileAtomically(path, ManifestText(manifest, path));
}

Manifest ReadManifest(const std::string& path) {
    const Json doc = json::Parse(ReadSmallFile(path, "manifest", kMaxManifestBytes), path);
    json::Object(doc, "a manifest (a JSON object)", path);
    const auto key = [&](const char* k) { return json::KeyWhere(path, k); };
    Manifest m;
    m.direction = Index(json::Required(doc, "direction", path), key("direction"), 4);
    if (m.direction == 0) throw InputError(key("direction") + ": 0 is not 1, 2 or 3");
    const std::string& kind =
        json::String(json::Required(doc, "intensity", path), key("intensity"));
    if (kind != "factor" && kind != "level")
        throw InputError(key("intensity") + ": \"" + kind + "\" is not factor or level");
    m.kind = kind == "factor" ? IntensityKind::kFactor : IntensityKind::kLevel;
    const Json& intensities =
        json::List(json::Required(doc, "intensities", path), "numbers", key("intensities"));
    for (size_t i = 0; i < intensities.size(); ++i)
        m.intensities.push_back(
            NonNegative(intensities[i], json::EntryWhere(key("intensities"), i), true));
    if (const Json* period = json::Optional(doc, "period"))
        m.period = NonNegative(*period, key("period"), true);
    if (m.kind == IntensityKind::kLevel && !m.period)
        throw InputError(path + ": \"period\" is missing");
    m.damping = NonNegative(json::Required(doc, "damping", path), key("damping"));
    const Json& records =
        json::List(json::Required(doc, "records", path), "records", key("records"));
    for (size_t i = 0; i < records.size(); ++i)
        m.records.push_back(ReadRecordEntry(records[i], path, json::EntryWhere(key("records"), i)));
    const Json& runs = json::List(json::Required(doc, "runs", path), "runs", key("runs"));
    std::set<std::string> folders;
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string where = json::EntryWhere(key("runs"), i);
        m.runs.push_back(ReadRunEntry(runs[i], m, where));
        if (!folders.insert(m.runs.back().folder).second)
            throw InputError(json::KeyWhere(where, "folder") + ": \"" + m.runs.back().folder +
                             "\" is the folder of an earlier run");
    }
    return m;
}

ManifestRun& FindRun(Manifest& manifest, std::string_view folder) {
    for (ManifestRun& run : manifest.runs) {
        if (run.folder == folder) return run;
    }
    throw InputError("The suite has no run \"" + std::string(folder) + "\"");
}

void MarkRunning(ManifestRun& run) {
    run.status = RunStatus::kRunning;
    run.reason.clear();
    run.result.reset();
}

void MarkDone(ManifestRun& run, const RunResult& result) {
    run.status = RunStatus::kDone;
    run.reason.clear();
    run.result = result;
}

void MarkFailed(ManifestRun& run, std::string reason) {
    run.status = RunStatus::kFailed;
    run.reason = std::move(reason);
    run.result.reset();
}

std::vector<size_t> RunsToDo(const Manifest& manifest) {
    std::vector<size_t> todo;
    for (size_t i = 0; i < manifest.runs.size(); ++i) {
        if (manifest.runs[i].status != RunStatus::kDone) todo.push_back(i);
    }
    return todo;
}

} // namespace vandra::motion
