#include "import/TabularReader.h"

#include "model/LargeMemory.h"

#include <string_view>

namespace vandra {
namespace {

constexpr std::string_view kTableHeader = "TABLE:";
constexpr std::string_view kEndOfData = "END TABLE DATA";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

// The table name of a header line: the text between its first and its last double quote, or
// what follows "TABLE:" when there are no two quotes.
std::string_view HeaderName(std::string_view line) {
    const size_t first = line.find('"');
    const size_t last = line.rfind('"');
    if (first != std::string_view::npos && last > first)
        return line.substr(first + 1, last - first - 1);
    return Trim(line.substr(kTableHeader.size()));
}

bool EndsTable(std::string_view line) {
    return Trim(line).empty() || line.starts_with(kTableHeader) || Trim(line) == kEndOfData;
}

// A line that no quoted value runs into.
bool EndsQuote(std::string_view line) {
    return line.starts_with(kTableHeader) || Trim(line) == kEndOfData;
}

// Reads the pairs of the row that starts at line `i`; returns the line after the row.
size_t ReadRow(const S2kText& lines, size_t i, TabularTable& table, TabularFile& file) {
    TabularRow row;
    row.Line = static_cast<int>(i) + 1;
    row.First = file.Pairs.size();
    std::string_view line = lines[i];
    size_t p = 0;
    for (;;) {
        while (p < line.size() && IsBlank(line[p]))
            ++p;
        if (p >= line.size()) break;
        // " _" at the end of a line: the row goes on at the next line.
        if (line[p] == '_' && Trim(line.substr(p + 1)).empty()) {
            if (i + 1 >= lines.size() || EndsTable(lines[i + 1])) break;
            line = lines[++i];
            p = 0;
            continue;
        }
        const size_t keyStart = p;
        while (p < line.size() && line[p] != '=' && !IsBlank(line[p]))
            ++p;
        if (p >= line.size() || line[p] != '=') continue; // a word without a value: skipped
        const std::string_view key = line.substr(keyStart, p - keyStart);
        ++p;
        std::string_view value;
        if (p < line.size() && line[p] == '"') {
            const size_t close = line.find('"', p + 1);
            if (close != std::string_view::npos) {
                value = line.substr(p + 1, close - p - 1);
                p = close + 1;
            } else {
                // The value goes on over the next lines up to the one holding the closing quote,
                // but not into a table header.
                const int opened = static_cast<int>(i) + 1;
                std::string joined(line.substr(p + 1));
                size_t closeAt = std::string_view::npos;
                while (i + 1 < lines.size() && !EndsQuote(lines[i + 1])) {
                    line = lines[++i];
                    closeAt = line.find('"');
                    joined += '\n';
                    joined += line.substr(0, closeAt);
                    if (closeAt != std::string_view::npos) break;
                }
                file.Joined.push_back(std::move(joined));
                value = file.Joined.back();
                if (closeAt == std::string_view::npos) {
                    const int until = i + 1 < lines.size() ? static_cast<int>(i) + 2 : 0;
                    file.UnclosedQuotes.push_back({opened, until});
                }
                p = closeAt == std::string_view::npos ? line.size() : closeAt + 1;
            }
        } else {
            const size_t valueStart = p;
            while (p < line.size() && !IsBlank(line[p]))
                ++p;
            value = line.substr(valueStart, p - valueStart);
        }
        file.Pairs.push_back({key, value});
    }
    row.Count = static_cast<uint32_t>(file.Pairs.size() - row.First);
    table.Rows.push_back(row);
    return i + 1;
}

} // namespace

std::string_view TabularTable::Value(const TabularRow& row, std::string_view key,
                                     std::string_view absent) const {
    const TabularPair* pair = PairData + row.First;
    for (uint32_t k = 0; k < row.Count; ++k)
        if (pair[k].Key == key) return pair[k].Value;
    return absent;
}

bool TabularTable::Has(const TabularRow& row, std::string_view key) const {
    const TabularPair* pair = PairData + row.First;
    for (uint32_t k = 0; k < row.Count; ++k)
        if (pair[k].Key == key) return true;
    return false;
}

const TabularTable* TabularFile::Find(std::string_view name) const {
    auto it = index_.find(std::string(name));
    return it == index_.end() ? nullptr : &Tables[it->second];
}

TabularFile ReadTabular(const S2kText& lines) {
    TabularFile file;
    // Room for a pair per 12 bytes of text: more than any SAP2000 file needs, and pages that are
    // never written cost nothing.
    size_t bytes = 0;
    if (!lines.empty())
        bytes = static_cast<size_t>(lines[lines.size() - 1].data() - lines[0].data()) +
                lines[lines.size() - 1].size();
    ReserveLarge(file.Pairs, bytes / 12 + 16);
    TabularTable* table = nullptr;
    size_t i = 0;
    while (i < lines.size()) {
        const std::string_view line = lines[i];
        if (line.starts_with(kTableHeader)) {
            const std::string name(HeaderName(line));
            auto [it, added] = file.index_.try_emplace(name, file.Tables.size());
            if (added) {
                file.Tables.emplace_back();
                file.Tables.back().Name = name;
                file.Tables.back().Line = static_cast<int>(i) + 1;
            }
            table = &file.Tables[it->second];
            ++i;
            continue;
        }
        if (Trim(line) == kEndOfData) break;
        if (table == nullptr || Trim(line).empty()) {
            table = Trim(line).empty() ? nullptr : table;
            ++i;
            continue;
        }
        i = ReadRow(lines, i, *table, file);
    }
    for (TabularTable& t : file.Tables)
        t.PairData = file.Pairs.data();
    return file;
}

bool IsTabularSap2000(const S2kText& lines) {
    const size_t n = lines.size() < 100 ? lines.size() : 100;
    for (size_t i = 0; i < n; ++i)
        if (lines[i].starts_with(kTableHeader)) return true;
    return false;
}

} // namespace vandra
