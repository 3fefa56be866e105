#include "model/NumberParse.h"

#include "model/Errors.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace vandra::parse {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Below 10^15 every integer, and the integer times 10 plus a digit, is exact in a double.
constexpr uint64_t kExactMantissaLimit = 100000000000000ULL; // 10^14: m * 10 + 9 < 2^53

constexpr double kPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

std::string IntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string FloatMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

std::optional<int> TryInteger(std::string_view text) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    // Up to nine digits cannot overflow: the common case without from_chars.
    if (s.size() <= 9 && IsDigit(s.front())) {
        int value = 0;
        for (char c : s) {
            if (!IsDigit(c)) return std::nullopt;
            value = value * 10 + (c - '0');
        }
        return value;
    }
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '-' && (s.size() < 2 || !IsDigit(first[1]))) return std::nullopt;
    if (*first != '-' && !IsDigit(*first)) return std::nullopt;
    int value = 0;
    auto res = std::from_chars(first, last, value);
    if (res.ec != std::errc() || res.ptr != last) return std::nullopt;
    return value;
}

std::optional<double> TryFloat(std::string_view text) {
    std::string_view s = Trim(text);
    size_t i = 0;
    const size_t n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    const size_t mantissa = i;
    size_t digits = 0;
    // The digits as an integer m and the number of them after the point, while m stays exact.
    uint64_t m = 0;
    int fraction = 0;
    bool exact = true;
    auto addDigit = [&](char c) {
        if (m >= kExactMantissaLimit) exact = false;
        m = m * 10 + static_cast<uint64_t>(c - '0');
    };
    while (i < n && IsDigit(s[i]))
        addDigit(s[i]), ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i]))
            addDigit(s[i]), ++i, ++digits, ++fraction;
    }
    if (digits == 0) return std::nullopt;
    int exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        const bool negative = i < n && s[i] == '-';
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && IsDigit(s[i])) {
            if (exponent < 10000) exponent = exponent * 10 + (s[i] - '0');
            ++i, ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
        if (negative) exponent = -exponent;
    }
    if (i != n) return std::nullopt;
    // m and 10^|p| are exact doubles, so one correctly rounded product or quotient is the
    // correctly rounded value, the same that from_chars gives.
    const int p = exponent - fraction;
    if (exact && p >= -22 && p <= 22) {
        double value = static_cast<double>(m);
        value = p >= 0 ? value * kPowersOfTen[p] : value / kPowersOfTen[-p];
        return mantissa > 0 && s[0] == '-' ? -value : value;
    }
    double value = 0;
    const char* first = s.data() + mantissa;
    auto res = std::from_chars(first, s.data() + n, value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + n || !std::isfinite(value))
        return std::nullopt;
    if (mantissa > 0 && s[0] == '-') value = -value;
    return value;
}

int Integer(std::string_view text) {
    if (auto v = TryInteger(text)) return *v;
    throw ConversionError(IntegerMessage(text));
}

double Float(std::string_view text) {
    if (auto v = TryFloat(text)) return *v;
    throw ConversionError(FloatMessage(text));
}

} // namespace vandra::parse
