// The positional tokenizer that every .s2k reader uses.
//
// A line is cut at spaces (a run of one or two spaces makes one cut, a run of n spaces that does
// not follow a cut makes (n + 1) / 2 cuts), at "=", "," and double quotes, and at its end. The
// text before the second cut is never a token, so the indentation decides where the first word
// lands: two or three leading spaces put it in T[0], four or five in T[1], six or seven in T[2].
// Tabs are not cuts. Every token is trimmed of characters with codes up to 32.
#pragma once

#include <array>
#include <string_view>

namespace vandra {

constexpr int kTokenSlots = 40;
constexpr int kMaxTokens = 38; // a line yields at most this many tokens; the rest are ignored

// The tokens of the last line tokenized: views into that line, valid while the line lives.
// Slots the line does not reach are empty.
struct S2kTokens {
    std::array<std::string_view, kTokenSlots> T;
    int Filled = 0; // slots 0..Filled-1 may hold text; the others are empty

    std::string_view operator[](int k) const { return T[static_cast<size_t>(k)]; }
};

void Tokenize(std::string_view line, S2kTokens& tokens);

// Characters with codes up to 32 removed from both ends.
std::string_view TrimControl(std::string_view text);

} // namespace vandra
