// Number parsing: the quick path for short decimals gives the very double the general one gives.
#include "model/NumberParse.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

namespace vandra {
namespace {

double ByFromChars(const std::string& s) {
    double value = 0;
    std::from_chars(s.data() + (s[0] == '-' ? 1 : 0), s.data() + s.size(), value);
    return s[0] == '-' ? -value : value;
}

TEST(NumberParse, ShortDecimalsGiveTheCorrectlyRoundedDouble) {
    std::mt19937_64 random(7);
    for (int n = 0; n < 200000; ++n) {
        std::string s = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 17);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int i = 0; i < digits; ++i) {
            if (i == point && i > 0) s += '.';
            s += static_cast<char>('0' + random() % 10);
        }
        if (random() % 3 == 0) s += "E" + std::to_string(static_cast<int>(random() % 60) - 30);
        const auto parsed = parse::TryFloat(s);
        ASSERT_TRUE(parsed) << s;
        const double expected = ByFromChars(s);
        ASSERT_EQ(std::memcmp(&*parsed, &expected, sizeof expected), 0) << s;
    }
}

TEST(NumberParse, IntegersAndTheirLimits) {
    const struct {
        const char* text;
        bool valid;
        int value;
    } cases[] = {{"0", true, 0},
                 {"+7", true, 7},
                 {"-12", true, -12},
                 {"123456789", true, 123456789},
                 {"2147483647", true, 2147483647},
                 {"2147483648", false, 0},
                 {"-2147483648", true, -2147483647 - 1},
                 {"12a", false, 0},
                 {"1 2", false, 0},
                 {"", false, 0},
                 {"-", false, 0},
                 {" 42 ", true, 42}};
    for (const auto& c : cases) {
        const auto v = parse::TryInteger(c.text);
        EXPECT_EQ(v.has_value(), c.valid) << c.text;
        if (v) EXPECT_EQ(*v, c.value) << c.text;
    }
}

} // namespace
} // namespace vandra
