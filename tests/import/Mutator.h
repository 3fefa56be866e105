// Random damage to a model text, a few changes at a time: a byte, a line dropped or doubled, a
// digit made a letter, a number made huge, spaces, or a separator; for the fuzzers of the readers.
#pragma once

#include <algorithm>
#include <random>
#include <string>

namespace vandra::testing {

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    std::string Mutate(std::string t) {
        for (int k = Pick(1, 4); k > 0 && !t.empty(); --k) {
            const size_t p = Pos(t);
            const size_t b = p == 0 ? 0 : t.rfind('\n', p - 1) + 1; // the line around p
            const size_t e = std::min(t.find('\n', p), t.size() - 1) + 1;
            const size_t digit = t.find_first_of("0123456789", p);
            switch (Pick(0, 6)) {
            case 0: t[p] = static_cast<char>(Pick(0, 255)); break;
            case 1: t.erase(b, e - b); break;
            case 2: t.insert(Pick(0, 1) ? b : e, t.substr(b, e - b)); break;
            case 3:
                if (digit != std::string::npos) t[digit] = static_cast<char>('A' + Pick(0, 25));
                break;
            case 4:
                if (digit != std::string::npos)
                    t.replace(digit, t.find_first_not_of("0123456789.", digit) - digit,
                              kHuge[Pick(0, 8)]);
                break;
            case 5: t.insert(p, std::string(size_t(Pick(1, 4)), ' ')); break;
            default: t.insert(p, 1, "=,\"\t\r\n-."[Pick(0, 8)]);
            }
        }
        return t;
    }

private:
    static constexpr const char* kHuge[] = {"1E308",       "-1.7E308", "99999999999",
                                            "2147483647",  "0",        "-2147483648",
                                            "1E-320",      "-0",       "-1"};
    std::mt19937 rng_;
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    size_t Pos(const std::string& t) { return size_t(Pick(0, int(t.size()) - 1)); }
};

} // namespace vandra::testing
