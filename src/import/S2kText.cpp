#include "import/S2kText.h"

#include "model/LargeMemory.h"

#include <algorithm>
#include <cstring>

namespace vandra {

S2kText::S2kText(std::string text) : text_(std::move(text)) {
    const char* const data = text_.data();
    const size_t size = text_.size();
    if (size == 0) return;
    // Counting the line feeds first sizes the list once for the common LF and CR LF files.
    const auto feeds = static_cast<size_t>(std::count(data, data + size, '\n'));
    ReserveLarge(lines_, feeds + 1);
    size_t start = 0;
    if (std::memchr(data, '\r', size) == nullptr) {
        // Line feeds only: each line runs to the next one.
        for (const char* p = data; (p = static_cast<const char*>(std::memchr(
                                        p, '\n', static_cast<size_t>(data + size - p))));
             ++p) {
            const size_t end = static_cast<size_t>(p - data);
            lines_.push_back({start, end - start});
            start = end + 1;
        }
        if (start < size) lines_.push_back({start, size - start});
        return;
    }
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n') continue;
        lines_.push_back({start, i - start});
        // CR LF and CR CR LF (what a CR LF file becomes after one more LF to CR LF translation)
        // each end one line.
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        else if (c == '\r' && i + 2 < size && data[i + 1] == '\r' && data[i + 2] == '\n')
            i += 2;
        start = i + 1;
    }
    if (start < size) lines_.push_back({start, size - start});
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
