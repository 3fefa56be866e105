// Integer parsing: the digit loop for short numbers and from_chars for long ones agree at the
// limits.
#include "model/NumberParse.h"

#include <gtest/gtest.h>

namespace vandra {
namespace {

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
        if (v) { EXPECT_EQ(*v, c.value) << c.text; }
    }
}

} // namespace
} // namespace vandra
