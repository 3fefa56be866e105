#include "import/S2kSection.h"

#include "import/ReaderSupport.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cctype>

namespace vandra {

bool IsBlankLine(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

namespace {

// The line that closes a section whose header is on line `start`: its first blank line, or the
// end of the file.
int SectionEnd(const S2kText& lines, size_t start) {
    size_t end = start + 1;
    while (end < lines.size() && !IsBlankLine(lines[end]))
        ++end;
    return static_cast<int>(end);
}

// The exact keyword a line is, or -1.
int ExactKeyword(std::string_view line) {
    if (line.size() < 4 || line.size() > 13) return -1;
    for (size_t k = 0; k < kSectionKeywords.size(); ++k)
        if (line == kSectionKeywords[k]) return static_cast<int>(k);
    return -1;
}

// Every keyword starts with one of these letters; other lines need no closer look.
bool CouldStartKeyword(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'J':
    case 'C':
    case 'R':
    case 'M':
    case 'F':
    case 'S':
    case 'L':
        return true;
    default:
        return false;
    }
}

// The keyword a line equals once case and blanks (characters up to 32) are ignored, or -1.
int LooseKeyword(std::string_view line) {
    size_t first = 0;
    while (first < line.size() && static_cast<unsigned char>(line[first]) <= 32)
        ++first;
    if (first == line.size() || !CouldStartKeyword(line[first])) return -1;
    char folded[16];
    size_t n = 0;
    for (size_t i = first; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c <= 32) continue;
        if (n == sizeof folded) return -1;
        folded[n++] = static_cast<char>(std::toupper(c));
    }
    const std::string_view word(folded, n);
    for (size_t k = 0; k < kSectionKeywords.size(); ++k) {
        const std::string_view keyword = kSectionKeywords[k];
        if (keyword.size() != n && keyword.size() != n + 1) continue;
        std::string_view rest = keyword;
        size_t at = 0;
        bool same = true;
        for (char c : rest) {
            if (c == ' ') continue;
            if (at >= n || word[at++] != c) {
                same = false;
                break;
            }
        }
        if (same && at == n) return static_cast<int>(k);
    }
    return -1;
}

} // namespace

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
    bounds.End = SectionEnd(lines, i);
    return bounds;
}

const SectionBounds& S2kSectionIndex::Of(std::string_view keyword) const {
    for (size_t k = 0; k < kSectionKeywords.size(); ++k)
        if (kSectionKeywords[k] == keyword) return Sections[k];
    static const SectionBounds kAbsent;
    return kAbsent;
}

bool S2kSectionIndex::AnyFound() const {
    for (const SectionBounds& b : Sections)
        if (b.Found) return true;
    return false;
}

S2kSectionIndex IndexSections(const S2kText& lines, const std::string& file,
                              WarningList& warnings) {
    constexpr size_t kKinds = kSectionKeywords.size();
    std::array<int, kKinds> exact{};
    std::array<int, kKinds> loose{};
    struct Extra {
        int Line;
        size_t Kind;
        bool Exact;
    };
    std::vector<Extra> extras;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) continue;
        const auto c = static_cast<unsigned char>(line.front());
        if (c > 32 && !CouldStartKeyword(line.front())) continue;
        const int line1 = static_cast<int>(i);
        if (const int k = ExactKeyword(line); k >= 0) {
            auto& at = exact[static_cast<size_t>(k)];
            if (at == 0)
                at = line1;
            else
                extras.push_back({line1, static_cast<size_t>(k), true});
        } else if (const int l = LooseKeyword(line); l >= 0) {
            auto& at = loose[static_cast<size_t>(l)];
            if (at == 0)
                at = line1;
            else
                extras.push_back({line1, static_cast<size_t>(l), false});
        }
    }

    S2kSectionIndex index;
    for (size_t k = 0; k < kKinds; ++k) {
        const int start = exact[k] != 0 ? exact[k] : loose[k];
        if (start == 0) continue;
        SectionBounds& b = index.Sections[k];
        b.Found = true;
        b.Start = start;
        b.End = SectionEnd(lines, static_cast<size_t>(start));
    }
    // Warnings in the order of the file's lines.
    for (size_t k = 0; k < kKinds; ++k)
        if (loose[k] != 0) extras.push_back({loose[k], k, false});
    std::sort(extras.begin(), extras.end(),
              [](const Extra& a, const Extra& b) { return a.Line < b.Line; });
    for (const Extra& e : extras) {
        const std::string keyword(kSectionKeywords[e.Kind]);
        const int used = index.Sections[e.Kind].Start;
        TWarning w;
        w.File = file;
        w.Line = e.Line + 1;
        if (e.Exact) {
            w.What = "a second " + keyword + " header";
            w.Done = text::Format("ignored with its lines; the %s section of line %d is read",
                                  {keyword, used + 1});
        } else {
            w.What = "header " + s2k::QuotedToken(lines[static_cast<size_t>(e.Line)]) +
                     " differs from " + keyword + " only by case or blanks";
            w.Done = used == e.Line ? "read as the " + keyword + " section"
                                    : text::Format("ignored; the %s section of line %d is read",
                                                   {keyword, used + 1});
        }
        warnings.push_back(std::move(w));
    }
    return index;
}

} // namespace vandra
