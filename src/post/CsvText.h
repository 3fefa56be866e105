// A plot's data as CSV text: one column per series, a header line of the column names and one line
// per row. Names holding a comma, a double quote or a line break are quoted (a quote doubled);
// numbers are written whole to 15 significant digits. A column shorter than the longest leaves its
// cells empty below its last value.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace vandra {

struct CsvColumn {
    std::string Name;
    std::span<const double> Values;
};

std::string CsvText(std::span<const CsvColumn> columns);

} // namespace vandra
