// The tables the post-processing commands print: named columns and rows of cells, written as
// JSON (an array of objects, one per row, each cell under its column's name) or as CSV (a header
// line of the names, then one line per row). One table feeds both, so they hold the same values.
#pragma once

#include <QJsonArray>

#include <string>
#include <variant>
#include <vector>

namespace vandra::cli {

// An empty cell (JSON null, nothing in CSV), an integer, a number or a word.
using Cell = std::variant<std::monostate, long long, double, std::string>;

struct OutputTable {
    std::vector<std::string> Columns;
    std::vector<std::vector<Cell>> Rows; // each as many cells as Columns

    std::vector<Cell>& AddRow() { return Rows.emplace_back(); }
};

QJsonArray JsonRows(const OutputTable& table);
// Numbers whole to 15 significant digits; a word holding a comma or a quote is quoted.
std::string CsvOf(const OutputTable& table);

} // namespace vandra::cli
