#include "model/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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
    std::array<char, kDigits> d{}; // digit values 0..9
};

// The digits of text such as "-1.2345e+03" (as to_chars writes it) into r.
void ReadScientific(const char* p, const char* end, Decimal& r) {
    if (*p == '-') ++p;
    int n = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') r.d[static_cast<size_t>(n++)] = static_cast<char>(*p - '0');
    ++p; // 'e'
    int e = 0;
    std::from_chars(*p == '+' ? p + 1 : p, end, e);
    r.exp = e;
    r.zero = false;
}

Decimal DecomposeUncached(double value) {
    Decimal r;
    r.negative = std::signbit(value);
    if (value == 0) return r;
    const double magnitude = std::fabs(value);
    // A whole number below 10^15 has at most 15 digits: they are its digits exactly.
    if (magnitude < 1e15 && magnitude == std::trunc(magnitude)) {
        auto whole = static_cast<uint64_t>(magnitude);
        char buf[16];
        int n = 0;
        while (whole > 0) {
            buf[n++] = static_cast<char>(whole % 10);
            whole /= 10;
        }
        for (int i = 0; i < n; ++i)
            r.d[static_cast<size_t>(i)] = buf[n - 1 - i];
        r.exp = n - 1;
        r.zero = false;
        return r;
    }
    char buf[48];
    // The shortest text that reads back as value, when it has at most 15 digits, is also the
    // value rounded to 15 digits: it lies within half a unit of the last place of value, much
    // nearer than half the step between 15-digit decimals.
    auto shortest = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    int digits = 0;
    for (const char* p = buf; p < shortest.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') ++digits;
    if (digits <= kDigits) {
        ReadScientific(buf, shortest.ptr, r);
        return r;
    }
    auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, kDigits - 1);
    ReadScientific(buf, res.ptr, r);
    return r;
}

// Scripts repeat the same values on many lines (section properties on every element, the same
// load on every beam): the digits of recent values are kept in a small table by bit pattern.
Decimal Decompose(double value) {
    struct Entry {
        uint64_t bits = 0;
        bool filled = false;
        Decimal digits;
    };
    thread_local std::array<Entry, 256> cache;
    uint64_t bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    Entry& e = cache[static_cast<size_t>((bits ^ (bits >> 29) ^ (bits >> 52)) & 255)];
    if (e.filled && e.bits == bits) return e.digits;
    e.bits = bits;
    e.filled = true;
    e.digits = DecomposeUncached(value);
    return e.digits;
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
    for (int i = keep; i < kDigits; ++i)
        x.d[static_cast<size_t>(i)] = 0;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && x.d[static_cast<size_t>(i)] == 9)
            x.d[static_cast<size_t>(i--)] = 0;
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

// NaN and the infinities written at p; nullptr for a finite value.
char* WriteSpecial(char* p, double value) {
    if (std::isfinite(value)) return nullptr;
    const std::string_view text = std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// The room the writers below may take: a sign, the digits, a point, and for E an exponent of up
// to three digits with its letter and sign; a fixed-notation value may have up to 309 whole digits.
constexpr size_t RoomE(int significant) {
    return static_cast<size_t>(significant) + 8;
}
constexpr size_t RoomF(int decimals) {
    return static_cast<size_t>(decimals) + 312;
}

// "%0.nE" written at p, which has RoomE(significant) characters (significant >= 1); returns the
// end.
char* WriteE(char* p, double value, int significant) {
    if (char* end = WriteSpecial(p, value)) return end;
    Decimal x = Decompose(value);
    RoundTo(x, significant);
    if (x.zero) x.exp = 0;
    if (x.negative && !x.zero) *p++ = '-';
    *p++ = static_cast<char>('0' + x.d[0]);
    if (significant > 1) {
        *p++ = '.';
        for (int i = 1; i < significant; ++i)
            *p++ = static_cast<char>('0' + (i < kDigits ? x.d[static_cast<size_t>(i)] : 0));
    }
    *p++ = 'E';
    *p++ = x.exp < 0 ? '-' : '+';
    const int e = std::abs(x.exp);
    if (e < 100) *p++ = '0';
    if (e < 10) *p++ = '0';
    return std::to_chars(p, p + 3, e).ptr;
}

// 10^-(n + 1): a tenth of the last place of n decimals.
constexpr double kTenths[] = {1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9, 1e-10};

// "%0.nF" written at p, which has RoomF(decimals) characters (decimals >= 0); returns the end.
char* WriteF(char* p, double value, int decimals) {
    if (char* end = WriteSpecial(p, value)) return end;
    // Below a tenth of the last place the value writes as zero whatever its digits (rounding to 15
    // digits can lift it to that tenth, no further). Local axes computed by trigonometry carry such
    // values, each of its own, on every element.
    if (decimals < static_cast<int>(std::size(kTenths)) && std::fabs(value) < kTenths[decimals])
        value = 0;
    Decimal x = Decompose(value);
    // Digits at or above 10^-decimals are kept: that is exp + 1 + decimals of them.
    if (!x.zero) RoundTo(x, x.exp + 1 + decimals);
    auto digitAt = [&](int power) -> char { // the digit standing at 10^power
        const int idx = x.exp - power;
        if (x.zero || idx < 0 || idx >= kDigits) return '0';
        return static_cast<char>('0' + x.d[static_cast<size_t>(idx)]);
    };
    if (x.negative && !x.zero) *p++ = '-';
    if (x.zero || x.exp < 0) {
        *p++ = '0';
    } else {
        for (int power = x.exp; power >= 0; --power)
            *p++ = digitAt(power);
    }
    if (decimals > 0) {
        *p++ = '.';
        for (int k = 1; k <= decimals; ++k)
            *p++ = digitAt(-k);
    }
    return p;
}

// What `write` writes into a buffer of `room` characters, appended to out.
template <typename Write> void AppendWritten(std::string& out, size_t room, Write write) {
    char small[400];
    if (room <= sizeof small) {
        out.append(std::string_view(small, write(small)));
        return;
    }
    std::string large(room, '\0');
    out.append(std::string_view(large.data(), write(large.data())));
}

// The number of significant digits the value has at 15-digit precision (0 for zero).
int SignificantDigits(const Decimal& x) {
    if (x.zero) return 0;
    int n = kDigits;
    while (n > 1 && x.d[static_cast<size_t>(n - 1)] == 0)
        --n;
    return n;
}

// The decimals a finite value has at 15-digit precision (0 for a whole number).
int DecimalsNeeded(double value) {
    const Decimal x = Decompose(value);
    return x.zero ? 0 : std::max(SignificantDigits(x) - 1 - x.exp, 0);
}

} // namespace

void AppendInt(std::string& out, long long value) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(std::string_view(buf, res.ptr));
}

void AppendE(std::string& out, double value, int significant) {
    significant = std::max(significant, 1);
    AppendWritten(out, RoomE(significant), [&](char* p) { return WriteE(p, value, significant); });
}

void AppendF(std::string& out, double value, int decimals) {
    decimals = std::max(decimals, 0);
    AppendWritten(out, RoomF(decimals), [&](char* p) { return WriteF(p, value, decimals); });
}

void AppendGeneral(std::string& out, double value) {
    char special[4];
    if (char* end = WriteSpecial(special, value))
        return void(out.append(std::string_view(special, end)));
    Decimal x = Decompose(value);
    if (x.zero) {
        out += '0';
        return;
    }
    int n = kDigits;
    while (n > 1 && x.d[static_cast<size_t>(n - 1)] == 0)
        --n;
    if (x.negative) out += '-';
    if (x.exp < -5 || x.exp >= kDigits) {
        out += static_cast<char>('0' + x.d[0]);
        if (n > 1) {
            out += '.';
            for (int i = 1; i < n; ++i)
                out += static_cast<char>('0' + x.d[static_cast<size_t>(i)]);
        }
        out += 'E';
        AppendInt(out, x.exp);
        return;
    }
    if (x.exp < 0) {
        out += "0.";
        for (int i = -1; i > x.exp; --i)
            out += '0';
        for (int i = 0; i < n; ++i)
            out += static_cast<char>('0' + x.d[static_cast<size_t>(i)]);
        return;
    }
    for (int i = 0; i <= x.exp; ++i)
        out += static_cast<char>('0' + (i < n ? x.d[static_cast<size_t>(i)] : 0));
    if (n > x.exp + 1) {
        out += '.';
        for (int i = x.exp + 1; i < n; ++i)
            out += static_cast<char>('0' + x.d[static_cast<size_t>(i)]);
    }
}

void AppendEAtLeast(std::string& out, double value, int significant) {
    const int needed = std::isfinite(value) ? SignificantDigits(Decompose(value)) : 0;
    AppendE(out, value, std::max(significant, needed));
}

void AppendFAtLeast(std::string& out, double value, int decimals) {
    AppendF(out, value,
            std::isfinite(value) ? std::max(decimals, DecimalsNeeded(value)) : decimals);
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
    // The pieces are gathered here and appended to `out` whenever the next one may not fit, and
    // at the end: one append for most lines instead of one per piece.
    char stage[1024];
    char* p = stage;
    auto room = [&](size_t size) {
        if (static_cast<size_t>(stage + sizeof stage - p) >= size) return true;
        out.append(std::string_view(stage, p));
        p = stage;
        return size <= sizeof stage;
    };
    auto text = [&](std::string_view piece) {
        if (!room(piece.size())) return void(out.append(piece));
        std::memcpy(p, piece.data(), piece.size());
        p += piece.size();
    };
    const size_t n = tmpl.size();
    size_t i = 0;
    while (i < n) {
        const size_t pct = tmpl.find('%', i);
        if (pct == std::string_view::npos) {
            text(tmpl.substr(i));
            break;
        }
        text(tmpl.substr(i, pct - i));
        i = pct + 1;
        if (i >= n) throw std::logic_error("bad template: " + std::string(tmpl));
        const char c = tmpl[i];
        if (c == '%') {
            text("%");
            ++i;
        } else if (c == 'd' || c == 'D') {
            const FmtArg& a = take();
            if (a.kind != FmtArg::kInt)
                throw std::logic_error("integer placeholder without an integer: " +
                                       std::string(tmpl));
            room(24);
            p = std::to_chars(p, p + 24, a.i).ptr;
            ++i;
        } else if (c == 's' || c == 'S') {
            const FmtArg& a = take();
            if (a.kind != FmtArg::kText)
                throw std::logic_error("text placeholder without a text: " + std::string(tmpl));
            text(a.s);
            ++i;
        } else if ((c == '0' || c == '#') && i + 3 + (c == '#') < n) {
            // "%#0.nE": as "%0.nE", with more digits when the value needs them.
            const bool whole = c == '#';
            if (whole) ++i;
            if (tmpl[i] != '0' || tmpl[i + 1] != '.' || tmpl[i + 2] < '0' || tmpl[i + 2] > '9')
                throw std::logic_error("bad template: " + std::string(tmpl));
            int digits = tmpl[i + 2] - '0';
            const char kind = tmpl[i + 3];
            const double v = real(take());
            if (kind == 'E' || kind == 'e') {
                digits = std::max(digits, 1);
                if (whole && std::isfinite(v))
                    digits = std::max(digits, SignificantDigits(Decompose(v)));
                room(RoomE(digits));
                p = WriteE(p, v, digits);
            } else if (kind == 'F' || kind == 'f') {
                if (whole && std::isfinite(v)) digits = std::max(digits, DecimalsNeeded(v));
                room(RoomF(digits));
                p = WriteF(p, v, digits);
            } else {
                throw std::logic_error("bad template: " + std::string(tmpl));
            }
            i += 4;
        } else {
            throw std::logic_error("bad template: " + std::string(tmpl));
        }
    }
    out.append(std::string_view(stage, p));
    if (next != args.end()) throw std::logic_error("surplus argument for: " + std::string(tmpl));
}

std::string Format(std::string_view tmpl, std::initializer_list<FmtArg> args) {
    std::string s;
    AppendFormat(s, tmpl, args);
    return s;
}

} // namespace vandra::text
