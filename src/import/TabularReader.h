// The tables of a SAP2000 tabular text file ("TABLE:  \"NAME\"" headers, rows of Key=Value pairs).
//
// Rows start on a line of their own; a line ending in " _" continues on the next; a quoted value
// may hold blanks, "=", "," and line ends, but never runs past a table header or END TABLE DATA:
// a quote left open ends before such a line, and the file keeps where it opened. A line holding
// nothing but blanks, another header or "END TABLE DATA" ends a table. Lines outside tables are
// ignored. Tables are found by name and values by key, never by position, so the order of tables
// and keys does not matter.
#pragma once

#include "import/S2kText.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vandra {

struct TabularPair {
    std::string_view Key, Value; // the value without its quotes
};

struct TabularRow {
    int Line = 0;       // 1-based line of the file where the row starts
    size_t First = 0;   // its first pair in TabularFile::Pairs
    uint32_t Count = 0; // its number of pairs
};

struct TabularTable {
    std::string Name;
    int Line = 0; // 1-based line of the header
    std::vector<TabularRow> Rows;
    const TabularPair* PairData = nullptr; // TabularFile::Pairs, where rows point

    // The value of `key` in the row, or `absent` when the row does not give the key.
    std::string_view Value(const TabularRow& row, std::string_view key,
                           std::string_view absent = {}) const;
    bool Has(const TabularRow& row, std::string_view key) const;
};

// The tables of one file. Keys and values point into the lines the file was read from, which
// must outlive it.
// A quoted value whose closing quote never came.
struct UnclosedQuote {
    int Line = 0;  // 1-based line where the quote opened
    int Until = 0; // 1-based line that ended it (a header or END TABLE DATA); 0 at the end of file
};

struct TabularFile {
    std::vector<TabularTable> Tables; // in the order of their first header
    std::vector<TabularPair> Pairs;   // the pairs of every row of every table
    std::deque<std::string> Joined;   // values that span several lines, joined by "\n"
    std::vector<UnclosedQuote> UnclosedQuotes;

    const TabularTable* Find(std::string_view name) const;

private:
    friend TabularFile ReadTabular(const S2kText& lines);
    std::unordered_map<std::string, size_t> index_;
};

TabularFile ReadTabular(const S2kText& lines);

// True when the text is a tabular file: a line starting "TABLE:" among its first 100 lines.
bool IsTabularSap2000(const S2kText& lines);

} // namespace vandra
