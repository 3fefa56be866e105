#include "post/CsvText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace vandra;

// One table of plots' data and the CSV a spreadsheet must read back to the same cells.
TEST(CsvText, ColumnsBecomeQuotedHeaderAndRows) {
    const std::vector<double> time{0, 0.005, 1e-20}, drift{-0.0, 12345.678901234567, -2.5e7},
        two{1, 2}, none, odd{NAN};
    struct Case {
        const char* what;
        std::vector<CsvColumn> columns;
        std::string csv;
    } cases[] = {
        {"no columns", {}, ""},
        {"no rows", {{"time", none}, {"X", none}}, "time,X\n"},
        {"numbers whole to 15 digits, no minus on zero",
         {{"time", time}, {"drift", drift}},
         "time,drift\n0,0\n0.005,12345.6789012346\n1E-20,-25000000\n"},
        {"a shorter column leaves its cells empty",
         {{"a", two}, {"b", time}, {"c", none}},
         "a,b,c\n1,0,\n2,0.005,\n,1E-20,\n"},
        {"names with a comma, a quote or a line break are quoted",
         {{"roof, X", two}, {"say \"m\"", two}, {"two\nlines", none}},
         "\"roof, X\",\"say \"\"m\"\"\",\"two\nlines\"\n1,1,\n2,2,\n"},
        {"a missing value", {{"v", odd}}, "v\nNAN\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CsvText(c.columns), c.csv) << c.what;
}
