#include "model/NumberText.h"
#include "model/Errors.h"
#include "model/NumberParse.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vandra;

TEST(NumberText, ScientificFormats) {
    struct Case {
        double v;
        int sig;
        const char* want;
    };
    const Case cases[] = {
        {200000, 4, "2.000E+005"},   {-0.0012345, 4, "-1.235E-003"}, {0, 4, "0.000E+000"},
        {-0.0, 4, "0.000E+000"},     {1000, 4, "1.000E+003"},        {-2.5, 4, "-2.500E+000"},
        {9.9995, 4, "1.000E+001"},   {9.9994, 4, "9.999E+000"},      {0.01, 4, "1.000E-002"},
        {1.5e-300, 4, "1.500E-300"}, {2.5e300, 4, "2.500E+300"},     {123456789, 5, "1.2346E+008"},
        {1.0, 3, "1.00E+000"},       {0.1, 3, "1.00E-001"},          {0.12345, 3, "1.23E-001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::FormatE(c.v, c.sig), c.want) << c.v;
}

TEST(NumberText, FixedFormats) {
    struct Case {
        double v;
        int dec;
        const char* want;
    };
    const Case cases[] = {
        {0, 3, "0.000"},
        {-1, 3, "-1.000"},
        {1, 3, "1.000"},
        {-1.2e-16, 3, "0.000"},
        {6e-17, 3, "0.000"},
        {-0.0004, 3, "0.000"},
        {-0.0005, 3, "-0.001"},
        {0.9995, 3, "1.000"},
        {200, 2, "200.00"},
        {450.5, 0, "451"},
        {-450.5, 0, "-451"},
        {300, 0, "300"},
        {0.5, 0, "1"},
        {0.49, 0, "0"},
        {12000.0 / 1000, 0, "12"},
        {-12.3, 2, "-12.30"},
        {1e20, 2, "100000000000000000000.00"},
        {0.125, 2, "0.13"},
        {2.675, 2, "2.68"},
        {99.5, 0, "100"},
        // Near a tenth of the last place, below which a value writes as zero.
        {0.0999, 0, "0"},
        {-9.9999e-5, 3, "0.000"},
        {-4e-11, 9, "0.000000000"},
        {1.5e-10, 9, "0.000000000"},
        {5e-10, 9, "0.000000001"},
        {1e-12, 12, "0.000000000001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::FormatF(c.v, c.dec), c.want) << c.v;
}

TEST(NumberText, GeneralFormat) {
    struct Case {
        double v;
        const char* want;
    };
    const Case cases[] = {
        {0, "0"},           {1, "1"},
        {0.1, "0.1"},       {-2.5, "-2.5"},
        {1e-5, "0.00001"},  {1e-6, "1E-6"},
        {1e15, "1E15"},     {123456789012345.0, "123456789012345"},
        {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
        {450.6, "450.6"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::FormatGeneral(c.v), c.want) << c.v;
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

TEST(NumberParse, AcceptsNumbersAndRaisesTheExactMessages) {
    EXPECT_EQ(parse::Integer("12"), 12);
    EXPECT_EQ(parse::Integer("-7"), -7);
    EXPECT_EQ(parse::Integer("+7"), 7);
    EXPECT_DOUBLE_EQ(parse::Float("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(parse::Float("-2"), -2);
    EXPECT_DOUBLE_EQ(parse::Float(".2"), 0.2);
    EXPECT_DOUBLE_EQ(parse::Float("5."), 5);
    EXPECT_DOUBLE_EQ(parse::Float("1E+03"), 1000);
    EXPECT_DOUBLE_EQ(parse::Float("-2.5e-2"), -0.025);
    EXPECT_DOUBLE_EQ(parse::Float(" +.5E+3 "), 500);
    EXPECT_DOUBLE_EQ(parse::Float("-1e-320"), -1e-320);
    for (const char* bad : {"", "X", "1.5", "12a", "--1", "-", "99999999999"}) {
        try {
            parse::Integer(bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
    for (const char* bad : {"", "X", ".", "e5", "1e", "1.5.2", "inf", "nan", "1e999", "0x10", "1,5",
                            "+-1", "--1", "-inf", "+nan", "infinity", ".e5", "1e-999", "2 3"}) {
        try {
            parse::Float(bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid floating point value");
        }
    }
}

TEST(NumberText, AtLeastFormatsKeepEveryDigitThatMatters) {
    struct Case {
        double v;
        int sig;
        const char* e;
        int dec;
        const char* f;
    };
    const Case cases[] = {
        {500, 4, "5.000E+002", 0, "500"}, // the plain texts where they are whole
        {2.5, 4, "2.500E+000", 2, "2.50"},
        {0.5, 4, "5.000E-001", 0, "0.5"},     // a 0.5 m hinge is neither 0 nor 1
        {0.125, 4, "1.250E-001", 2, "0.125"}, // a 0.125 m slab is not 0.13
        {12345.6, 4, "1.23456E+004", 0, "12345.6"},
        {-1000, 5, "-1.0000E+003", 0, "-1000"},
        {0, 4, "0.000E+000", 2, "0.00"},
        {1.0 / 3, 4, "3.33333333333333E-001", 0, "0.333333333333333"},
        {35 / 25.4, 4, "1.37795275590551E+000", 2, "1.37795275590551"},
        {0.035, 4, "3.500E-002", 0, "0.035"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::FormatEAtLeast(c.v, c.sig), c.e) << c.v;
        EXPECT_EQ(text::FormatFAtLeast(c.v, c.dec), c.f) << c.v;
        // The "#" placeholders of templates write the same texts.
        const std::string e = "%#0." + std::to_string(c.sig) + "E";
        const std::string f = "%#0." + std::to_string(c.dec) + "F";
        EXPECT_EQ(text::Format(e + " " + f, {c.v, c.v}), std::string(c.e) + " " + c.f) << c.v;
    }
}
