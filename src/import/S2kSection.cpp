#include "import/S2kSection.h"

namespace vandra {

bool IsBlankLine(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

SectionBounds FindSection(const S2kText& lines, std::string_view keyword) {
    SectionBounds bounds;
    const size_t count = lines.size();
    size_t i = 1;
    for (; i < count; ++i) {
        const std::string_view line = lines[i];
        if (line.size() == keyword.size() && line == keyword) break;
    }
    if (i >= count) return bounds;
    bounds.Found = true;
    bounds.Start = static_cast<int>(i);
    size_t end = i + 1;
    while (end < count && !IsBlankLine(lines[end]))
        ++end;
    bounds.End = static_cast<int>(end);
    return bounds;
}

} // namespace vandra
