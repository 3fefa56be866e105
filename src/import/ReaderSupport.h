// Helpers shared by the .s2k readers (internal to the import library).
#pragma once

#include "import/S2kSection.h"
#include "import/S2kTokenizer.h"
#include "model/LargeMemory.h"
#include "model/Model.h"

#include <string>
#include <string_view>
#include <vector>

namespace vandra::s2k {

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

} // namespace vandra::s2k
