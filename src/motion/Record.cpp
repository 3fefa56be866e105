#include "motion/Record.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "motion/MotionFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

namespace vandra::motion {
namespace {

constexpr int kPeerHeaderLines = 4;

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

// Calls take(token) for each token of the line; stops early when take returns false.
template <typename Take> void ForEachToken(std::string_view line, Take take) {
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        while (i < n && IsSeparator(line[i]))
            ++i;
        if (i == n) break;
        const size_t start = i;
        while (i < n && !IsSeparator(line[i]))
            ++i;
        if (!take(line.substr(start, i - start))) return;
    }
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Int(long long v) {
    return text::FormatInt(v);
}

std::string At(const LineReader& in) {
    return in.Path() + ", line " + Int(in.LineNumber());
}

// The token after "KEY=" in a header line (found in its upper-cased copy); none without the key.
std::optional<std::string_view> ValueAfter(std::string_view upper, std::string_view line,
                                           std::string_view key) {
    const size_t at = upper.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    size_t i = at + key.size();
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    const size_t start = i;
    while (i < line.size() && !IsSeparator(line[i]))
        ++i;
    return line.substr(start, i - start);
}

struct PeerHeader {
    int npts = 0;
    double dt = 0;
};

PeerHeader ReadNptsLine(const LineReader& in, std::string_view line) {
    const std::string upper = Upper(line);
    std::optional<std::string_view> npts = ValueAfter(upper, line, "NPTS=");
    std::optional<std::string_view> dt = ValueAfter(upper, line, "DT=");
    if (!npts && upper.find("NPTS") != std::string::npos) {
        // The older form: "5590   .0050   NPTS, DT".
        std::string_view first, second;
        int count = 0;
        ForEachToken(line, [&](std::string_view t) {
            (count == 0 ? first : second) = t;
            return ++count < 2;
        });
        if (count == 2) npts = first, dt = second;
    }
    if (!npts) throw InputError(At(in) + ": no NPTS= in '" + std::string(line) + "'");
    if (!dt) throw InputError(At(in) + ": no DT= in '" + std::string(line) + "'");
    PeerHeader h;
    try {
        h.npts = parse::Integer(*npts);
    } catch (const ConversionError& e) {
        throw InputError(At(in) + ", NPTS: " + e.what());
    }
    if (h.npts <= 0)
        throw InputError(At(in) + ", NPTS: '" + std::string(*npts) +
                         "' is not a positive number of values");
    if (h.npts > kMaxRecordValues)
        throw InputError(At(in) + ", NPTS: " + Int(h.npts) + " values are more than the " +
                         Int(kMaxRecordValues) + " a record may have");
    try {
        h.dt = parse::Float(*dt);
    } catch (const ConversionError& e) {
        throw InputError(At(in) + ", DT: " + e.what());
    }
    if (!(h.dt > 0))
        throw InputError(At(in) + ", DT: '" + std::string(*dt) + "' is not a positive time step");
    return h;
}

double Value(const LineReader& in, std::string_view token) {
    if (auto v = parse::TryFloat(token)) return *v;
    throw InputError(At(in) + ": " + parse::FloatMessage(token));
}

} // namespace

double Record::Pga() const {
    double peak = 0;
    for (double a : accel)
        peak = std::max(peak, std::abs(a));
    return peak;
}

Record ReadPeerRecord(const std::string& path) {
    LineReader in(path, "record");
    Record record;
    record.path = path;
    std::string_view line;
    for (int k = 1; k < kPeerHeaderLines; ++k) {
        if (!in.Next(line))
            throw InputError(path + ": the file ends after line " + Int(in.LineNumber()) +
                             ", within the four header lines of a PEER record");
        if (k == 2) record.title = std::string(line);
        if (k == 3) {
            const std::string upper = Upper(line);
            if (upper.find("VELOCITY") != std::string::npos ||
                upper.find("DISPLACEMENT") != std::string::npos)
                throw InputError(At(in) + ": not an acceleration record: '" + std::string(line) +
                                 "'");
        }
    }
    if (!in.Next(line))
        throw InputError(path + ": the file ends after line 3, within the four header lines of a "
                                "PEER record");
    const PeerHeader header = ReadNptsLine(in, line);
    record.dt = header.dt;
    // Every value takes at least two bytes: a hostile NPTS reserves no more than the file can fill.
    record.accel.reserve(
        static_cast<size_t>(std::min<long long>(header.npts, in.FileSize() / 2 + 1)));
    while (in.Next(line)) {
        ForEachToken(line, [&](std::string_view token) {
            const double v = Value(in, token);
            if (record.Steps() == header.npts)
                throw InputError(At(in) + ": '" + std::string(token) + "' is value " +
                                 Int(header.npts + 1LL) + ", beyond NPTS=" + Int(header.npts));
            record.accel.push_back(v);
            return true;
        });
    }
    if (record.Steps() < header.npts)
        throw InputError(At(in) + ": the file ends after " + Int(record.Steps()) +
                         " of NPTS=" + Int(header.npts) + " values");
    return record;
}

Record ReadColumnRecord(const std::string& path, double dt, int column, int skipLines) {
    if (!(dt > 0) || !std::isfinite(dt))
        throw InputError(path + ": the time step " + text::FormatGeneral(dt) + " is not positive");
    if (column < 1) throw InputError(path + ": column " + Int(column) + " does not exist");
    LineReader in(path, "record");
    Record record;
    record.path = path;
    record.dt = dt;
    std::string_view line;
    for (int k = 0; k < skipLines && in.Next(line); ++k) {
    }
    int columns = 0;
    long long firstLine = 0;
    while (in.Next(line)) {
        int count = 0;
        std::string_view wanted;
        ForEachToken(line, [&](std::string_view token) {
            if (++count == column) wanted = token;
            return true;
        });
        if (count == 0) continue;
        if (columns == 0) {
            columns = count, firstLine = in.LineNumber();
            if (count < column)
                throw InputError(At(in) + ": no column " + Int(column) + " in '" +
                                 std::string(line) + "'");
        } else if (count != columns) {
            throw InputError(At(in) + ": '" + std::string(line) + "' does not have the " +
                             Int(columns) + " columns of line " + Int(firstLine));
        }
        if (record.Steps() == kMaxRecordValues)
            throw InputError(At(in) + ": more than the " + Int(kMaxRecordValues) +
                             " values a record may have");
        record.accel.push_back(Value(in, wanted));
    }
    if (record.accel.empty()) throw InputError(path + ": no values");
    return record;
}

Record ReadRecord(const RecordSource& source) {
    if (source.format == RecordFormat::kPeer) return ReadPeerRecord(source.path);
    return ReadColumnRecord(source.path, source.dt, source.column, source.skipLines);
}

std::string SingleColumnText(const Record& record) {
    std::string out;
    out.reserve(record.accel.size() * 16);
    for (double a : record.accel) {
        text::AppendGeneral(out, a);
        out += '\n';
    }
    return out;
}

} // namespace vandra::motion
