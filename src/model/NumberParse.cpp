#include "model/NumberParse.h"

#include "model/Errors.h"
#include "model/ShownText.h"

#include <charconv>
#include <cmath>
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

} // namespace

std::string IntegerMessage(std::string_view text) {
    return text::ShownToken(text) + " is not a valid integer value";
}

std::string FloatMessage(std::string_view text) {
    return text::ShownToken(text) + " is not a valid floating point value";
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
    const std::string_view s = Trim(text);
    // from_chars takes no '+' and also reads "inf" and "nan": the sign is taken here, and the
    // number must start with a digit or a point.
    const size_t mantissa = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (mantissa == s.size() || !(IsDigit(s[mantissa]) || s[mantissa] == '.')) return std::nullopt;
    double value = 0;
    const char* const last = s.data() + s.size();
    const auto res = std::from_chars(s.data() + mantissa, last, value);
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(value)) return std::nullopt;
    return s[0] == '-' ? -value : value;
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
