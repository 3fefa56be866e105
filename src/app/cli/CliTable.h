// The post-processing tables (post/PostTables.h) as vandra-cli prints them: JSON (an array of
// objects, one per row, each cell under its column's name) or CSV (a header line of the names,
// then one line per row). One table feeds both, so they hold the same values.
#pragma once

#include "post/PostTables.h"

#include <QJsonArray>

#include <string>

namespace vandra::cli {

QJsonArray JsonRows(const TTable& table);
// Numbers whole to 15 significant digits; a word holding a comma or a quote is quoted.
std::string CsvOf(const TTable& table);

} // namespace vandra::cli
