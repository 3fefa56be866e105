#include "import/S2kTokenizer.h"

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

    size_t cutCount = 0;
    size_t lastCut = 0;
    int tokenCount = 0;
    auto addCut = [&](size_t position) {
        ++cutCount;
        if (cutCount >= 3) {
            // Characters lastCut + 1 .. position - 1 (1-based) start at index lastCut.
            tokens.T[static_cast<size_t>(tokenCount++)] =
                TrimControl(line.substr(lastCut, position - 1 - lastCut));
        }
        lastCut = position;
    };

    for (size_t i = 0; i <= length && tokenCount < kMaxTokens; ++i) {
        const char c = line[i == 0 ? 0 : i - 1];
        if (c == ' ') {
            if (cutCount == 0 || lastCut + 1 != i) addCut(i);
        } else if (c == '=' || c == ',' || c == '"') {
            addCut(i);
        }
        if (i == length && tokenCount < kMaxTokens) addCut(length + 1);
    }
    tokens.Filled = tokenCount;
}

} // namespace vandra
