#include "tcl/GroundRecord.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "motion/Spectrum.h"

#include <filesystem>
#include <system_error>

namespace vandra {
namespace {

namespace fs = std::filesystem;

bool IsPeerName(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ext == ".AT2";
}

bool IsPlainNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

} // namespace

bool UsesRecord(int analysisType) {
    return analysisType == kTimeHistory || analysisType == kGravityTimeHistory;
}

motion::RecordSource RecordSourceOf(const TSettings& settings) {
    motion::RecordSource source;
    source.path = settings.RecordFile;
    source.format = IsPeerName(settings.RecordFile) ? motion::RecordFormat::kPeer
                                                    : motion::RecordFormat::kColumns;
    source.dt = settings.RecordDt;
    return source;
}

std::string RecordCopyName(const std::string& recordPath) {
    std::string stem = fs::path(recordPath).stem().string();
    for (char& c : stem)
        if (!IsPlainNameChar(c)) c = '_';
    if (stem.empty()) stem = "record";
    return stem + ".txt";
}

motion::Record ReadChosenRecord(const TSettings& settings) {
    if (settings.RecordFile.empty())
        throw InputError("Time History Analysis needs a record: choose its file (RecordFile)");
    motion::Record record = motion::ReadRecord(RecordSourceOf(settings));
    if (record.Steps() == 0)
        throw InputError("The record \"" + settings.RecordFile + "\" has no value");
    return record;
}

ScriptRecord ScriptRecordOf(const TSettings& settings) {
    const motion::Record record = ReadChosenRecord(settings);
    return {RecordCopyName(settings.RecordFile), record.dt, record.Steps()};
}

void CopyRecordBeside(const TSettings& settings, const std::string& scriptPath) {
    if (!UsesRecord(settings.AnalysisType)) return;
    const motion::Record record = ReadChosenRecord(settings);
    const fs::path copy = fs::path(scriptPath).parent_path() / RecordCopyName(settings.RecordFile);
    std::error_code error;
    if (fs::equivalent(copy, settings.RecordFile, error)) return;
    WriteFileAtomically(copy.string(), motion::SingleColumnText(record));
}

double GravityInModelUnits(const TModel& model) {
    return motion::kStandardGravity * 1000.0 / MillimetresPerUnit(model.LengthUnit);
}

} // namespace vandra
