// Text from a file or an argument shown in a message. What a file holds reaches the terminal only
// as readable text: a control byte (an escape sequence, a line end inside a name) is written as
// ^X, so it can neither drive the terminal nor forge a line of its own, and a token of megabytes
// is cut to its first bytes with its size named.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vandra::text {

// The most bytes of a token a message shows.
inline constexpr size_t kShownTokenBytes = 64;

// The text with every control byte (below 32, and 127) written as ^X (^[ for ESC, ^J for a line
// feed); other bytes unchanged.
std::string EscapeControls(std::string_view text);

// The token quoted and escaped: "'abc'"; a token longer than kShownTokenBytes keeps its first
// bytes (never half a UTF-8 character) and gains its size: "'abc...' (50000000 bytes)". A quote
// of '\0' writes none.
std::string ShownToken(std::string_view token, char quote = '\'');

} // namespace vandra::text
