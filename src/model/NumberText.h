// Number text: the one place where numbers become text in everything VANDRA writes.
//
// Every value is first rounded to 15 significant decimal digits, then to the digits the format
// asks for, an exact half going away from zero. A value that rounds to zero is written without a
// minus sign. The decimal separator is always a point.
//
//   "%0.nE" / "%0.ne"  n significant digits, upper-case E, exponent sign, at least three exponent
//                      digits: FormatE(200000, 4) == "2.000E+005"
//   "%0.nF" / "%0.nf"  fixed notation with n decimals: FormatF(-1, 3) == "-1.000";
//                      FormatF(450.5, 0) == "451"
//   "%#0.nE", "%#0.nF" the same with more digits when the value needs them to be written whole
//                      (to 15 significant digits): Format("%#0.4E", {205939.65}) ==
//                      "2.0593965E+005", Format("%#0.4E", {200000.0}) == "2.000E+005"
//   "%d" / "%D"        signed decimal integer
//   "%s" / "%S"        the text unchanged
//   general            shortest text of up to 15 significant digits (edit boxes, grids)
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vandra::text {

void AppendE(std::string& out, double value, int significant);
void AppendF(std::string& out, double value, int decimals);
void AppendInt(std::string& out, long long value);
void AppendGeneral(std::string& out, double value);

// "%0.nE" / "%0.nf" with more digits when the value needs them to be written whole (to 15
// significant digits): FormatEAtLeast(12345.6, 4) == "1.23456E+004", FormatFAtLeast(500, 0) ==
// "500", FormatFAtLeast(0.125, 2) == "0.125". A value the plain format writes whole gets the plain
// format's text.
void AppendEAtLeast(std::string& out, double value, int significant);
void AppendFAtLeast(std::string& out, double value, int decimals);
std::string FormatEAtLeast(double value, int significant);
std::string FormatFAtLeast(double value, int decimals);

std::string FormatE(double value, int significant);
std::string FormatF(double value, int decimals);
std::string FormatInt(long long value);
std::string FormatGeneral(double value);

// One argument of a template.
struct FmtArg {
    enum Kind { kInt, kDouble, kText } kind;
    long long i = 0;
    double d = 0;
    std::string_view s;

    FmtArg(int v) : kind(kInt), i(v) {}
    FmtArg(long v) : kind(kInt), i(v) {}
    FmtArg(long long v) : kind(kInt), i(v) {}
    FmtArg(unsigned v) : kind(kInt), i(v) {}
    FmtArg(double v) : kind(kDouble), d(v) {}
    FmtArg(std::string_view v) : kind(kText), s(v) {}
    FmtArg(const std::string& v) : kind(kText), s(v) {}
    FmtArg(const char* v) : kind(kText), s(v) {}
};

// Fills a template whose placeholders are "%d", "%D", "%s", "%S", "%0.nE", "%0.ne", "%0.nF",
// "%0.nf", the same four with "#" after "%" (n one digit) and "%%". An integer argument is accepted
// by the real formats; a placeholder without its argument, a wrong kind or a surplus argument is a
// programming error (std::logic_error).
void AppendFormat(std::string& out, std::string_view tmpl, std::initializer_list<FmtArg> args);
std::string Format(std::string_view tmpl, std::initializer_list<FmtArg> args);

} // namespace vandra::text
