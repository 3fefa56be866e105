#include "import/S2kText.h"

#include "model/LargeMemory.h"

#include <algorithm>
#include <cstring>

namespace vandra {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

S2kText::Line S2kText::LineAt(size_t begin, size_t end) const {
    // A UTF-8 byte order mark (a Windows editor's "UTF-8" save, at the start of the file or of a
    // file pasted into it) is no part of the line, which would otherwise not be the header it is.
    if (end - begin >= kUtf8ByteOrderMark.size() &&
        std::string_view(text_).substr(begin, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        begin += kUtf8ByteOrderMark.size();
    return {begin, end - begin};
}

S2kText::S2kText(std::string text) : text_(std::move(text)) {
    const char* const data = text_.data();
    const size_t size = text_.size();
    // A text of nothing but a byte order mark has no line.
    if (size == 0 || text_ == kUtf8ByteOrderMark) return;
    size_t start = 0;
    // Counting the line feeds first sizes the list once for the common LF and CR LF files.
    const auto feeds = static_cast<size_t>(std::count(data, data + size, '\n'));
    ReserveLarge(lines_, feeds + 1);
    if (std::memchr(data, '\r', size) == nullptr) {
        // Line feeds only: each line runs to the next one.
        for (const char* p = data; (p = static_cast<const char*>(std::memchr(
                                        p, '\n', static_cast<size_t>(data + size - p))));
             ++p) {
            const size_t end = static_cast<size_t>(p - data);
            lines_.push_back(LineAt(start, end));
            start = end + 1;
        }
        if (start < size) lines_.push_back(LineAt(start, size));
        return;
    }
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n') continue;
        lines_.push_back(LineAt(start, i));
        // CR LF and CR CR LF (what a CR LF file becomes after one more LF to CR LF translation)
        // each end one line.
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        else if (c == '\r' && i + 2 < size && data[i + 1] == '\r' && data[i + 2] == '\n')
            i += 2;
        start = i + 1;
    }
    if (start < size) lines_.push_back(LineAt(start, size));
}

std::vector<std::string> S2kText::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (size_t i = 0; i < size(); ++i)
        lines.emplace_back((*this)[i]);
    return lines;
}

bool operator==(const S2kText& a, const S2kText& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

} // namespace vandra
