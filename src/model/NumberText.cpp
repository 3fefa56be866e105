#include "model/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace vandra::text {
namespace {

constexpr int kDigits = 15;

// A value as sign, 15 decimal digits d[0..14] and the power of ten of d[0]:
// value = d0.d1d2...d14 x 10^exp.
struct Decimal {
    bool negative = false;
    bool zero = true;
    int exp = 0;
    std::array<char, kDigits> d{};  // digit values 0..9
};

Decimal Decompose(double value) {
    Decimal r;
    r.negative = std::signbit(value);
    if (value == 0) return r;
    char buf[48];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, kDigits - 1);
    const char* p = buf;
    if (*p == '-') ++p;
    int n = 0;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') r.d[static_cast<size_t>(n++)] = static_cast<char>(*p - '0');
    ++p;  // 'e'
    int e = 0;
    std::from_chars(*p == '+' ? p + 1 : p, res.ptr, e);
    r.exp = e;
    r.zero = false;
    return r;
}

bool AllZero(const Decimal& x) {
    for (char c : x.d)
        if (c != 0) return false;
    return true;
}

// Keeps the first `keep` significant digits, an exact half (or more) going away from zero.
void RoundTo(Decimal& x, int keep) {
    if (x.zero || keep >= kDigits) return;
    if (keep < 0) {
        x.d.fill(0);
        x.zero = true;
        return;
    }
    const bool up = x.d[static_cast<size_t>(keep)] >= 5;
    for (int i = keep; i < kDigits; ++i) x.d[static_cast<size_t>(i)] = 0;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && x.d[static_cast<size_t>(i)] == 9) x.d[static_cast<size_t>(i--)] = 0;
        if (i >= 0) {
            ++x.d[static_cast<size_t>(i)];
        } else {
            x.d.fill(0);
            x.d[0] = 1;
            ++x.exp;
        }
    }
    if (AllZero(x)) x.zero = true;
}

bool AppendSpecial(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "NAN";
        return true;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return true;
    }
    return false;
}

// The number of significant digits the value has at 15-digit precision (0 for zero).
int SignificantDigits(const Decimal& x) {
    if (x.zero) return 0;
    int n = kDigits;
    while (n > 1 && x.d[static_cast<size_t>(n - 1)] == 0) --n;
    return n;
}

}  // namespace

void AppendInt(std::string& out, long long value) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

void AppendE(std::string& out, double value, int significant) {
    if (AppendSpecial(out, value)) return;
    if (significant < 1) significant = 1;
    Decimal x = Decompose(value);
    RoundTo(x, significant);
    if (x.zero) x.exp = 0;
    if (x.negative && !x.zero) out += '-';
    out += static_cast<char>('0' + x.d[0]);
    if (significant > 1) {
        out += '.';
        for (int i = 1; i < significant; ++i)
            out += static_cast<char>('0' + (i < kDigits ? x.d[static_cast<size_t>(i)] : 0));
    }
    out += 'E';
    out += x.exp < 0 ? '-' : '+';
    const int e = std::abs(x.exp);
    if (e < 100) out += '0';
    if (e < 10) out += '0';
    AppendInt(out, e);
}

void AppendF(std::string& out, double value, int decimals) {
    if (AppendSpecial(out, value)) return;
    if (decimals < 0) decimals = 0;
    Decimal x = Decompose(value);
    // Digits at or above 10^-decimals are kept: that is exp + 1 + decimals of them.
    if (!x.zero) RoundTo(x, x.exp + 1 + decimals);
    if (x.negative && !x.zero) out += '-';
    auto digitAt = [&](int power) -> char {  // the digit standing at 10^power
        const int idx = x.exp - power;
        if (x.zero || idx < 0 || idx >= kDigits) return '0';
        return static_cast<char>('0' + x.d[static_cast<size_t>(idx)]);
    };
    if (x.zero || x.exp < 0) {
        out += '0';
    } else {
        for (int p = x.exp; p >= 0; --p) out += digitAt(p);
    }
    if (decimals > 0) {
        out += '.';
        for (int k = 1; k <= decimals; ++k) out += digitAt(-k);
    }
}

void AppendGeneral(std::string& out, double value) {
    if (AppendSpecial(out, value)) return;
    Decimal x = Decompose(value);
    if (x.zero) {
        out += '0';
        return;
    }
    int n = kDigits;
    while (n > 1 && x.d[static_cast<size_t>(n - 1)] == 0) --n;
    if (x.negative) out += '-';
    if (x.exp < -5 || x.exp >= kDigits) {
        out += static_cast<char>('0' + x.d[0]);
        if (n > 1) {
            out += '.';
            for (int i = 1; i < n; ++i) out += static_cast<char>('0' + x.d[static_cast<size_t>(i)]);
        }
        out += 'E';
        AppendInt(out, x.exp);
        return;
    }
    if (x.exp < 0) {
        out += "0.";
        for (int i = -1; i > x.exp; --i) out += '0';
        for (int i = 0; i < n; ++i) out += static_cast<char>('0' + x.d[static_cast<size_t>(i)]);
        return;
    }
    for (int i = 0; i <= x.exp; ++i)
        out += static_cast<char>('0' + (i < n ? x.d[static_cast<size_t>(i)] : 0));
    if (n > x.exp + 1) {
        out += '.';
        for (int i = x.exp + 1; i < n; ++i) out += static_cast<char>('0' + x.d[static_cast<size_t>(i)]);
    }
}

void AppendEAtLeast(std::string& out, double value, int significant) {
    const int needed = std::isfinite(value) ? SignificantDigits(Decompose(value)) : 0;
    AppendE(out, value, std::max(significant, needed));
}

void AppendFAtLeast(std::string& out, double value, int decimals) {
    int needed = 0;
    if (std::isfinite(value)) {
        const Decimal x = Decompose(value);
        if (!x.zero) needed = SignificantDigits(x) - 1 - x.exp;
    }
    AppendF(out, value, std::max(decimals, needed));
}

std::string FormatEAtLeast(double value, int significant) {
    std::string s;
    AppendEAtLeast(s, value, significant);
    return s;
}
std::string FormatFAtLeast(double value, int decimals) {
    std::string s;
    AppendFAtLeast(s, value, decimals);
    return s;
}

std::string FormatE(double value, int significant) {
    std::string s;
    AppendE(s, value, significant);
    return s;
}
std::string FormatF(double value, int decimals) {
    std::string s;
    AppendF(s, value, decimals);
    return s;
}
std::string FormatInt(long long value) {
    std::string s;
    AppendInt(s, value);
    return s;
}
std::string FormatGeneral(double value) {
    std::string s;
    AppendGeneral(s, value);
    return s;
}

void AppendFormat(std::string& out, std::string_view tmpl, std::initializer_list<FmtArg> args) {
    auto next = args.begin();
    auto take = [&]() -> const FmtArg& {
        if (next == args.end())
            throw std::logic_error("template without its argument: " + std::string(tmpl));
        return *next++;
    };
    auto real = [&](const FmtArg& a) -> double {
        if (a.kind == FmtArg::kDouble) return a.d;
        if (a.kind == FmtArg::kInt) return static_cast<double>(a.i);
        throw std::logic_error("text given for a number in: " + std::string(tmpl));
    };
    const size_t n = tmpl.size();
    size_t i = 0;
    while (i < n) {
        const size_t pct = tmpl.find('%', i);
        if (pct == std::string_view::npos) {
            out.append(tmpl.substr(i));
            break;
        }
        out.append(tmpl.substr(i, pct - i));
        i = pct + 1;
        if (i >= n) throw std::logic_error("bad template: " + std::string(tmpl));
        const char c = tmpl[i];
        if (c == '%') {
            out += '%';
            ++i;
        } else if (c == 'd' || c == 'D') {
            const FmtArg& a = take();
            if (a.kind != FmtArg::kInt)
                throw std::logic_error("integer placeholder without an integer: " + std::string(tmpl));
            AppendInt(out, a.i);
            ++i;
        } else if (c == 's' || c == 'S') {
            const FmtArg& a = take();
            if (a.kind != FmtArg::kText)
                throw std::logic_error("text placeholder without a text: " + std::string(tmpl));
            out.append(a.s);
            ++i;
        } else if (c == '0' && i + 3 < n && tmpl[i + 1] == '.' && tmpl[i + 2] >= '0' &&
                   tmpl[i + 2] <= '9') {
            const int digits = tmpl[i + 2] - '0';
            const char kind = tmpl[i + 3];
            const double v = real(take());
            if (kind == 'E' || kind == 'e')
                AppendE(out, v, digits);
            else if (kind == 'F' || kind == 'f')
                AppendF(out, v, digits);
            else
                throw std::logic_error("bad template: " + std::string(tmpl));
            i += 4;
        } else {
            throw std::logic_error("bad template: " + std::string(tmpl));
        }
    }
    if (next != args.end()) throw std::logic_error("surplus argument for: " + std::string(tmpl));
}

std::string Format(std::string_view tmpl, std::initializer_list<FmtArg> args) {
    std::string s;
    AppendFormat(s, tmpl, args);
    return s;
}

}  // namespace vandra::text
