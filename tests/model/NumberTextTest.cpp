// The number texts and parses of tests/cases/numbers/numbers.txt (its header says the format).
#include "CaseFile.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <gtest/gtest.h>

using namespace vandra;
using namespace vandra::testing;

TEST(NumberText, FormatsAndParsesOfTheTable) {
    std::istringstream table(ReadText(SourcePath("tests/cases/numbers/numbers.txt")));
    int checks = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        for (size_t from = 0, bar; f.size() < 3; from = bar + 1)
            f.push_back(line.substr(from, (bar = line.find('|', from)) - from));
        const std::string& kind = f[0], &in = f[1], want = line.substr(line.rfind('|') + 1);
        const std::vector<std::string> arg = Words(f[2]), wants = Words(want);
        SCOPED_TRACE(line);
        ++checks;
        if (kind == "E" || kind == "F" || kind == "G") {
            const double v = Expression::Of(in);
            EXPECT_EQ(kind == "G"   ? text::FormatGeneral(v)
                      : kind == "E" ? text::FormatE(v, std::stoi(arg[0]))
                                    : text::FormatF(v, std::stoi(arg[0])),
                      want);
        }
        if (kind == "A") {
            const double v = Expression::Of(in);
            EXPECT_EQ(text::FormatEAtLeast(v, std::stoi(arg[0])), wants[0]);
            EXPECT_EQ(text::FormatFAtLeast(v, std::stoi(arg[1])), wants[1]);
            EXPECT_EQ(text::Format("%#0." + arg[0] + "E %#0." + arg[1] + "F", {v, v}), want);
        }
        if (kind != "int" && kind != "float") continue;
        try {
            const double v = kind == "int" ? parse::Integer(in) : parse::Float(in);
            EXPECT_DOUBLE_EQ(v, want == "!" ? std::nan("") : Expression::Of(want));
        } catch (const ConversionError& e) {
            EXPECT_EQ(want, "!");
            EXPECT_EQ(e.what(), "'" + in + "' is not a valid " +
                                    (kind == "int" ? "integer" : "floating point") + " value");
        }
    }
    EXPECT_GE(checks, 99); // the whole table was read
}

TEST(NumberText, TemplatesFillPlaceholdersInOrder) {
    EXPECT_EQ(text::Format("node %D %0.4E %0.4E %0.4E", {1, 1000.0, 0.0, -2.5}),
              "node 1 1.000E+003 0.000E+000 -2.500E+000");
    EXPECT_EQ(text::Format("geomTransf %s %D %0.3F %0.3F %0.3F ", {"Linear", 3, 0.0, 0.0, 1.0}),
              "geomTransf Linear 3 0.000 0.000 1.000 ");
    EXPECT_EQ(text::Format("##%S ", {"C1"}), "##C1 ");
    EXPECT_EQ(text::Format("section PlateFiber %d %d %0.2f", {701, 601, 200}),
              "section PlateFiber 701 601 200.00");
    EXPECT_EQ(text::Format("100%%", {}), "100%");
    // Texts of every length around the room gathered before an append, a number at its edge.
    for (size_t length : {0, 1000, 1010, 1016, 1020, 1023, 1024, 1025, 3000}) {
        const std::string pad(length, 'N');
        std::string out = "kept ";
        text::AppendFormat(out, "%s%0.9E %d%s|%0.3F", {pad, -2.0 / 3, 123456789, pad, 1e300});
        EXPECT_EQ(out, "kept " + pad + text::FormatE(-2.0 / 3, 9) + " 123456789" + pad + "|1" +
                           std::string(300, '0') + ".000")
            << length;
    }
    EXPECT_THROW(text::Format("%d %d", {1}), std::logic_error);
    EXPECT_THROW(text::Format("%d", {1.5}), std::logic_error);
    EXPECT_THROW(text::Format("%d", {1, 2}), std::logic_error);
}
