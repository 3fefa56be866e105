#include "post/RecorderText.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

namespace vandra::recorder_text {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

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
    path_ = path;
    const auto close = [](std::FILE* f) { std::fclose(f); };
    std::unique_ptr<std::FILE, decltype(close)> file(std::fopen(path.c_str(), "rb"), close);
    if (!file)
        throw InputError("Cannot open the result file " + path + ": " + std::strerror(errno));
    // Read straight into the buffer, in as many pieces as the file turns out to need.
    size_t size = 0;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long end = std::ftell(file.get());
        if (end > 0) size = static_cast<size_t>(end);
        std::rewind(file.get());
    }
    text_.resize(size + 1);
    size_t got = 0;
    for (;;) {
        got += std::fread(text_.data() + got, 1, text_.size() - got, file.get());
        if (got < text_.size()) break;
        text_.resize(text_.size() * 2);
    }
    text_.resize(got);
    if (std::ferror(file.get())) throw InputError("Cannot read the result file " + path);
    pos_ = 0;
    line_ = 0;
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
