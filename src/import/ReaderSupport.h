// Helpers shared by the .s2k readers (internal to the import library).
#pragma once

#include "import/S2kSection.h"
#include "import/S2kTokenizer.h"
#include "model/Errors.h"
#include "model/LargeMemory.h"
#include "model/Model.h"
#include "model/ModelCheck.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vandra {

// What every reader reads from: the file's lines, its sections found once, and the file's name
// for the warnings.
struct S2kInput {
    const S2kText& Lines;
    S2kSectionIndex Sections;
    std::string File;
};

namespace s2k {

// A table rebuilt for a section of `count` data lines: count + 1 empty records, or no record at
// all for an absent section (count -1).
template <typename Record> void RebuildTable(std::vector<Record>& table, int count) {
    table.clear();
    if (count < 0) return;
    ReserveLarge(table, static_cast<size_t>(count) + 1);
    table.resize(static_cast<size_t>(count) + 1);
}

// The 0-based line numbers of a section's data lines.
struct DataLines {
    int First = 0; // first data line
    int Last = -1; // last data line

    explicit DataLines(const SectionBounds& b) {
        if (b.Found) {
            First = b.Start + 1;
            Last = b.End - 1;
        }
    }
};

// Throws InputError "Line <n>: <what> <value> is outside 1..<count>" unless 1 <= value <= count;
// `lineIndex` is the 0-based line of the file.
void CheckRange(int value, int count, std::string_view what, int lineIndex);

// The conversion message of a token with the place it came from:
// "Line 12 (MATERIAL): '6e3x' is not a valid floating point value".
[[noreturn]] void ThrowConversionAt(const ConversionError& e, int lineIndex,
                                    std::string_view keyword);

// Runs body(i) for every data line i of the section of `keyword`; a conversion error gains the
// line and the section.
template <typename Body>
void ForEachDataLine(const S2kInput& in, std::string_view keyword, Body&& body) {
    const DataLines data(in.Sections.Of(keyword));
    int i = data.First;
    try {
        for (; i <= data.Last; ++i)
            body(i);
    } catch (const ConversionError& e) {
        ThrowConversionAt(e, i, keyword);
    }
}

// Warnings of one kind from one section: the first few are kept line by line, the rest are
// counted and summed up in one warning when Finish is called.
class SectionWarnings {
public:
    SectionWarnings(const S2kInput& in, TModel& model, std::string_view keyword);
    void Add(int lineIndex, std::string what, std::string done);
    // "<n> more lines of the <KEYWORD> section: <what>" when warnings were left out.
    void Finish(std::string_view what);

private:
    const S2kInput& in_;
    TModel& model_;
    std::string_view keyword_;
    int count_ = 0;
    int firstLeftOut_ = -1;
};

// The first key of `keys` (token position, expected text) not found at its position, as a
// warning text ("key SEC expected at field 5, found 'NCOL400'"), or empty when all are in place.
struct KeyAt {
    int Token;
    std::string_view Key;
};
std::string MisplacedKey(const S2kTokens& t, std::initializer_list<KeyAt> keys);

// A token shown in a warning: quoted, control characters as ^X, a long one cut
// (text::ShownToken).
std::string QuotedToken(std::string_view token);

// Index by name of records 1..count, the last record of a name winning, as the store's look-up
// by name does; built once so that many records find their section or material quickly.
template <typename Record> class NameIndex {
public:
    NameIndex(const std::vector<Record>& table, int count) {
        const int last = std::min<int>(count, static_cast<int>(table.size()) - 1);
        if (last > 0) index_.reserve(static_cast<size_t>(last));
        for (int i = 1; i <= last; ++i)
            index_[table[static_cast<size_t>(i)].Name] = i;
    }
    int Find(std::string_view name) const {
        auto it = index_.find(name);
        return it == index_.end() ? 0 : it->second;
    }

private:
    std::unordered_map<std::string_view, int> index_;
};

// The names of one column of a section (the section names of frames): each distinct name is
// held once and shared by every record that gives it.
class SharedNames {
public:
    const SharedText& Of(std::string_view name) {
        auto it = names_.find(name);
        if (it != names_.end()) return it->second;
        SharedText text(name);
        const std::string_view key = text.str();
        return names_.emplace(key, std::move(text)).first->second;
    }

private:
    std::unordered_map<std::string_view, SharedText> names_;
};

// Names that matched nothing, each with its first line and how often it occurred; reported as
// one warning per name.
class UnmatchedNames {
public:
    void Add(std::string_view name, int lineIndex, int record);
    // what(name, record, count) and done give each warning's texts.
    template <typename What>
    void Report(const S2kInput& in, TModel& model, std::string_view keyword, What what,
                const std::string& done) const {
        SectionWarnings warnings(in, model, keyword);
        for (const Entry& e : entries_)
            warnings.Add(e.Line, what(e.Name, e.Record, e.Count), done);
        warnings.Finish("names that match nothing");
    }

private:
    struct Entry {
        std::string Name;
        int Line = 0, Record = 0, Count = 0;
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> byName_;
};

} // namespace s2k
} // namespace vandra
