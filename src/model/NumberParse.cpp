#include "model/NumberParse.h"

#include "model/Errors.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vandra::parse {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

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
    while (i < n && IsDigit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    double value = 0;
    const char* first = s.data() + mantissa;
    auto res = std::from_chars(first, s.data() + n, value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + n || !std::isfinite(value)) return std::nullopt;
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

}  // namespace vandra::parse
