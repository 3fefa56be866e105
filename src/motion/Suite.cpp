#include "motion/Suite.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "motion/JsonFields.h"
#include "motion/JsonWriter.h"
#include "motion/MotionFile.h"

#include <cmath>

namespace vandra::motion {
namespace {

using json::Json;

constexpr size_t kMaxSuiteBytes = 16 << 20;

// A positive finite number, or "<where>: <value> is not a positive <what>".
double Positive(const Json& value, const std::string& where, std::string_view what) {
    const double v = json::Number(value, where);
    if (!(v > 0) || !std::isfinite(v))
        throw InputError(where + ": " + json::ValueText(value) + " is not a positive " +
                         std::string(what));
    return v;
}

// The member `key` of a record of columns: a whole number from `least` to a million, or `absent`
// when it is not there. Refused for a PEER record (no "dt"), which gives its own layout.
int ColumnsOnly(const Json& entry, const char* key, const Json* dt, const std::string& where,
                int least, const char* usedIn, const char* what, int absent) {
    const Json* value = json::Optional(entry, key);
    if (!value) return absent;
    const std::string at = json::KeyWhere(where, key);
    if (!dt) throw InputError(at + ": " + usedIn + " a file with \"dt\"");
    const long long v = json::Integer(*value, at);
    if (v < least || v > 1000000)
        throw InputError(at + ": " + json::ValueText(*value) + " is not " + what);
    return static_cast<int>(v);
}

RecordSource ReadRecordEntry(const Json& entry, const std::string& path, const std::string& where,
                             std::vector<std::string>& warnings) {
    RecordSource source;
    if (entry.is_string()) {
        source.path = entry.get<std::string>();
    } else if (entry.is_object()) {
        json::WarnUnknownKeys(entry, {"file", "dt", "column", "skip"}, where, warnings);
        const std::string fileWhere = json::KeyWhere(where, "file");
        source.path = json::String(json::Required(entry, "file", where), fileWhere);
        const Json* dt = json::Optional(entry, "dt");
        if (dt) {
            source.format = RecordFormat::kColumns;
            source.dt = Positive(*dt, json::KeyWhere(where, "dt"), "time step");
        }
        source.column = ColumnsOnly(entry, "column", dt, where, 1, "a column is read from",
                                    "a column number (1 or more)", 1);
        source.skipLines = ColumnsOnly(entry, "skip", dt, where, 0, "lines are skipped in",
                                       "a number of lines (0 or more)", 0);
    } else {
        throw InputError(where + ": a file name or {\"file\": ..., \"dt\": ...} is expected");
    }
    if (source.path.empty()) throw InputError(where + ": the file name is empty");
    source.path = PathBeside(path, source.path);
    return source;
}

// The same record twice: the same column of the same file.
bool SameRecord(const RecordSource& a, const RecordSource& b) {
    return a.path == b.path && a.format == b.format && a.column == b.column;
}

} // namespace

Suite ParseSuite(const std::string& text, const std::string& path,
                 std::vector<std::string>& warnings) {
    const Json doc = json::Parse(text, path);
    json::Object(doc, "a suite (a JSON object)", path);
    json::WarnUnknownKeys(doc, {"direction", "records", "factors", "levels", "period", "damping"},
                          path, warnings);
    Suite suite;

    const Json* direction = json::Optional(doc, "direction");
    if (!direction) throw InputError(path + ": \"direction\" is missing (1, 2 or 3)");
    const std::string directionWhere = json::KeyWhere(path, "direction");
    const long long d = json::Integer(*direction, directionWhere);
    if (d < 1 || d > 3)
        throw InputError(directionWhere + ": " + json::ValueText(*direction) + " is not 1, 2 or 3");
    suite.direction = static_cast<int>(d);

    const std::string recordsWhere = json::KeyWhere(path, "records");
    const Json& records =
        json::List(json::Required(doc, "records", path), "record files", recordsWhere);
    for (size_t i = 0; i < records.size(); ++i) {
        const std::string where = json::EntryWhere(recordsWhere, i);
        RecordSource source = ReadRecordEntry(records[i], path, where, warnings);
        for (size_t j = 0; j < suite.records.size(); ++j) {
            if (SameRecord(suite.records[j], source))
                throw InputError(where + ": " + json::ValueText(records[i]) + " is already entry " +
                                 text::FormatInt(j + 1LL));
        }
        suite.records.push_back(std::move(source));
    }

    const Json* factors = json::Optional(doc, "factors");
    const Json* levels = json::Optional(doc, "levels");
    if (factors && levels) throw InputError(path + ": give \"factors\" or \"levels\", not both");
    if (!factors && !levels) throw InputError(path + ": \"factors\" or \"levels\" is missing");
    suite.kind = factors ? IntensityKind::kFactor : IntensityKind::kLevel;
    const std::string listWhere = json::KeyWhere(path, factors ? "factors" : "levels");
    const Json& list = json::List(factors ? *factors : *levels, "numbers", listWhere);
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string where = json::EntryWhere(listWhere, i);
        const double v = Positive(list[i], where, factors ? "factor" : "level in g");
        for (size_t j = 0; j < suite.intensities.size(); ++j) {
            if (suite.intensities[j] == v)
                throw InputError(where + ": " + json::ValueText(list[i]) + " is already entry " +
                                 text::FormatInt(j + 1LL));
        }
        suite.intensities.push_back(v);
    }

    for (const char* key : {"period", "damping"}) {
        const Json* value = json::Optional(doc, key);
        if (!value) continue;
        const std::string where = json::KeyWhere(path, key);
        if (key[0] == 'p' && factors) {
            warnings.push_back(where + ": used only with \"levels\"; ignored");
        } else if (key[0] == 'p') {
            suite.period = Positive(*value, where, "period in seconds");
        } else {
            const double d = json::Number(*value, where);
            if (!(d >= 0 && d < 1))
                throw InputError(where + ": " + json::ValueText(*value) +
                                 " is not a damping ratio from 0 to less than 1");
            suite.damping = d;
        }
    }
    return suite;
}

Suite ReadSuiteFile(const std::string& path, std::vector<std::string>& warnings) {
    return ParseSuite(ReadSmallFile(path, "suite", kMaxSuiteBytes), path, warnings);
}

std::string SuiteText(const Suite& suite, const std::string& path) {
    JsonWriter out;
    out.BeginObject();
    out.IntegerField("direction", suite.direction);
    out.Key("records");
    out.BeginArray();
    for (const RecordSource& r : suite.records) {
        const std::string file = PathFrom(path, r.path);
        if (r.format == RecordFormat::kPeer) {
            out.String(file);
            continue;
        }
        out.BeginObject(true);
        out.StringField("file", file);
        out.NumberField("dt", r.dt);
        out.IntegerField("column", r.column);
        out.IntegerField("skip", r.skipLines);
        out.EndObject();
    }
    out.EndArray();
    out.Key(suite.kind == IntensityKind::kFactor ? "factors" : "levels");
    out.BeginArray(true);
    for (double v : suite.intensities)
        out.Number(v);
    out.EndArray();
    if (suite.kind == IntensityKind::kLevel && suite.period)
        out.NumberField("period", *suite.period);
    out.NumberField("damping", suite.damping);
    out.EndObject();
    return out.Take();
}

void WriteSuiteFile(const Suite& suite, const std::string& path) {
    WriteFileAtomically(path, SuiteText(suite, path));
}

} // namespace vandra::motion
