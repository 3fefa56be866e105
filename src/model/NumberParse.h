// Number parsing: the one place where text becomes a number. A text that is not a number raises
// ConversionError with exactly "'<text>' is not a valid integer value" or
// "'<text>' is not a valid floating point value", the text shown as text::ShownToken shows it
// (control bytes escaped, a long text cut with its size named).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vandra::parse {

// A decimal integer with an optional sign, within the signed 32-bit range. Spaces around the text
// are allowed.
int Integer(std::string_view text);
// Decimal digits with an optional sign, an optional point and fraction (at least one digit in
// all) and an optional exponent such as E+03. Spaces around the text are allowed.
double Float(std::string_view text);

std::optional<int> TryInteger(std::string_view text);
std::optional<double> TryFloat(std::string_view text);

std::string IntegerMessage(std::string_view text);
std::string FloatMessage(std::string_view text);

} // namespace vandra::parse
