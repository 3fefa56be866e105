#include "import/S2kTokenizer.h"

#include <array>

namespace vandra {

std::string_view TrimControl(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

namespace {

// What each byte is to the tokenizer: most are plain text, which the scan passes over with one
// table look-up.
enum CharClass : unsigned char { kPlain = 0, kSpace = 1, kCut = 2 };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> classes{};
    classes[static_cast<unsigned char>(' ')] = kSpace;
    classes[static_cast<unsigned char>('=')] = kCut;
    classes[static_cast<unsigned char>(',')] = kCut;
    classes[static_cast<unsigned char>('"')] = kCut;
    return classes;
}

constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

} // namespace

// Positions run from 0 to L (L the line's length). Position 0 looks at the first character, as
// does position 1; position i >= 1 looks at character i (1-based). Each cut is such a position,
// and L + 1 closes the line. Token k is the text strictly between cuts k + 2 and k + 3 (1-based
// cut numbers), so every cut from the third on closes the token that the previous cut opened.
void Tokenize(std::string_view line, S2kTokens& tokens) {
    for (int k = 0; k < tokens.Filled; ++k)
        tokens.T[static_cast<size_t>(k)] = std::string_view();
    tokens.Filled = 0;
    const size_t length = line.size();
    if (length == 0) return;

    const char* const text = line.data();
    size_t cutCount = 0;
    size_t lastCut = 0;
    int tokenCount = 0;
    auto addCut = [&](size_t position) {
        if (++cutCount >= 3) {
            // Characters lastCut + 1 .. position - 1 (1-based) start at index lastCut.
            tokens.T[static_cast<size_t>(tokenCount++)] =
                TrimControl(std::string_view(text + lastCut, position - 1 - lastCut));
        }
        lastCut = position;
    };

    // Position 0: a space or a cut character there is the first cut.
    if (kClasses[static_cast<unsigned char>(text[0])] != kPlain) addCut(0);
    // Position j + 1 looks at character j (0-based). A space cuts unless it directly follows
    // the last cut.
    auto position = [&](size_t j) {
        const unsigned char kind = kClasses[static_cast<unsigned char>(text[j])];
        if (kind == kCut || lastCut != j || cutCount == 0) addCut(j + 1);
    };
    for (size_t j = 0; j < length && tokenCount < kMaxTokens; ++j)
        if (kClasses[static_cast<unsigned char>(text[j])] != kPlain) position(j);
    if (tokenCount < kMaxTokens) addCut(length + 1);
    tokens.Filled = tokenCount;
}

} // namespace vandra
