#include "post/RecorderText.h"

#include "model/Errors.h"
#include "model/InputFile.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "model/Progress.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>

namespace vandra::recorder_text {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The solver writes its recorder files as printable text: numbers, blanks, line ends, and the
// words of its modal report.
bool IsRecordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 32 && u < 127) || c == '\t' || c == '\r';
}

std::string HexByte(char c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto u = static_cast<unsigned char>(c);
    return std::string("0x") + kDigits[u >> 4] + kDigits[u & 15];
}

// Files are read in pieces of this size.
constexpr size_t kReadPiece = size_t{1} << 20;

} // namespace

std::string Num(long long v) {
    return text::FormatInt(v);
}

std::string Where(const std::string& path, long long line, long long column) {
    return path + ", line " + Num(line) + ", column " + Num(column);
}

std::string PathOf(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

void RecorderText::load(const std::string& path) {
    // Each file counts one on the progress of the thread's work, and a cancelled read stops here.
    Progress* progress = ThreadProgress();
    AddProgress(progress, 1);
    path_ = path;
    text_.clear();
    pos_ = 0;
    line_ = 0;
    InputFile file = OpenInputFile(path);
    if (!file.Kind().empty())
        throw InputError(path + " is " + std::string(file.Kind()) + ", not a result file");
    if (!file.IsOpen())
        throw InputError("Cannot open the result file " + path + ": " +
                         std::strerror(file.Error()));
    // Room for the whole file is only reserved: the pages are used as the text comes, and a file
    // that is no recorder file is refused at its first bad line, after one piece of it.
    text_.reserve(static_cast<size_t>(file.Size()) + 1);
    long long lineNo = 1;
    size_t lineStart = 0;
    for (;;) {
        if (progress != nullptr) progress->Check(); // a large file stops between two pieces
        const size_t at = text_.size();
        // Within the room reserved while the file is as large as it was when opened.
        const size_t room = text_.capacity() - at;
        const size_t piece = room > 0 ? std::min(kReadPiece, room) : kReadPiece;
        text_.resize(at + piece);
        size_t got = 0;
        if (!file.Read(text_.data() + at, piece, got)) {
            const int error = errno;
            text_.clear();
            throw InputError("Cannot read the result file " + path + ": " + std::strerror(error));
        }
        text_.resize(at + got);
        if (got == 0) break;
        for (size_t i = at; i < text_.size(); ++i) {
            const char c = text_[i];
            if (c == '\n') {
                ++lineNo;
                lineStart = i + 1;
            } else if (!IsRecordByte(c)) {
                text_.clear();
                throw InputError(path + ", line " + Num(lineNo) + ": the byte " + HexByte(c) +
                                 " cannot stand in a recorder file");
            }
        }
        if (text_.size() - lineStart > kMaxRecordLine) {
            text_.clear();
            throw InputError(path + ", line " + Num(lineNo) + ": longer than " +
                             Num(static_cast<long long>(kMaxRecordLine)) +
                             " characters, more than any recorder writes on a line");
        }
    }
}

bool RecorderText::next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const char* start = text_.data() + pos_;
    const void* nl = std::memchr(start, '\n', text_.size() - pos_);
    const size_t length =
        nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : text_.size() - pos_;
    line = std::string_view(start, length);
    pos_ += length + 1;
    ++line_;
    return true;
}

std::string_view RecorderText::lineAt(int n) {
    std::string_view line;
    while (line_ < n) {
        if (!next(line))
            throw InputError(path_ + ", line " + Num(n) + ": the file ends after line " +
                             Num(line_) + " (step " + Num(n) + " was not recorded)");
    }
    return line;
}

int RecorderText::lineCount() const {
    int count = static_cast<int>(std::count(text_.begin(), text_.end(), '\n'));
    if (!text_.empty() && text_.back() != '\n') ++count;
    return count;
}

void CheckLineCount(const RecorderText& text, int lines, int steps, const std::string& first) {
    if (lines == steps) return;
    if (lines < steps)
        throw InputError(text.path() + ", line " + Num(lines + 1) + ": the file ends after line " +
                         Num(lines) + "; " + first + " holds " + Num(steps) + " lines");
    throw InputError(text.path() + ", line " + Num(steps + 1) + ": the file holds more than the " +
                     Num(steps) + " lines of " + first);
}

void ParseLine(std::string_view line, const std::string& path, long long lineNo, int columns,
               double* out) {
    const char* p = line.data();
    const char* const end = p + line.size();
    int column = 0;
    for (;;) {
        while (p < end && IsBlank(*p))
            ++p;
        if (p == end) break;
        const char* start = p;
        while (p < end && !IsBlank(*p))
            ++p;
        if (column == columns)
            throw InputError(Where(path, lineNo, column + 1) + ": the line holds more than the " +
                             Num(columns) + " columns its block needs");
        // The solver's own number text reads in one std::from_chars call; anything else (a sign
        // "+", a token that is not a number, infinities and NaN) goes through the parsing module,
        // which accepts or names it.
        double value = 0;
        const auto read = std::from_chars(start, p, value, std::chars_format::general);
        if (read.ec != std::errc() || read.ptr != p || !std::isfinite(value)) {
            const std::string_view token(start, static_cast<size_t>(p - start));
            const std::optional<double> parsed = parse::TryFloat(token);
            if (!parsed)
                throw InputError(Where(path, lineNo, column + 1) + ": " +
                                 parse::FloatMessage(token));
            value = *parsed;
        }
        out[column++] = value;
    }
    if (column < columns)
        throw InputError(Where(path, lineNo, column + 1) + ": the line ends after " + Num(column) +
                         " columns; its block needs " + Num(columns));
}

} // namespace vandra::recorder_text
