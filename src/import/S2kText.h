// The text of an .s2k file as a list of lines: one buffer holding the file's bytes and the place
// of every line in it (line ends left out). Holding the text once instead of one string per line
// halves the memory of a large file and spares an allocation per line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

class S2kText {
public:
    S2kText() = default;
    // Splits text into lines; a line ends at CR, LF, CR LF or CR CR LF. A last line without a line
    // end still counts; a line end at the very end adds no line. A UTF-8 byte order mark at the
    // start of a line is no part of it.
    explicit S2kText(std::string text);

    size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view operator[](size_t i) const {
        return std::string_view(text_).substr(lines_[i].begin, lines_[i].length);
    }
    std::vector<std::string> Lines() const;

    friend bool operator==(const S2kText& a, const S2kText& b);

private:
    struct Line {
        size_t begin = 0, length = 0;
    };
    Line LineAt(size_t begin, size_t end) const;
    std::string text_;
    std::vector<Line> lines_;
};

} // namespace vandra
