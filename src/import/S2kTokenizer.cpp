#include "import/S2kTokenizer.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
#if defined(__SSE2__)
    // Sixteen characters at a time: a bit mask of the spaces and cut characters among them,
    // taken in order. The last, shorter block is copied into a blank-free buffer first.
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i equals = _mm_set1_epi8('=');
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i quote = _mm_set1_epi8('"');
    for (size_t base = 0; base < length && tokenCount < kMaxTokens; base += 16) {
        __m128i block;
        if (base + 16 <= length) {
            block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + base));
        } else {
            alignas(16) char tail[16] = {};
            std::memcpy(tail, text + base, length - base);
            block = _mm_load_si128(reinterpret_cast<const __m128i*>(tail));
        }
        const __m128i special =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, space), _mm_cmpeq_epi8(block, equals)),
                         _mm_or_si128(_mm_cmpeq_epi8(block, comma), _mm_cmpeq_epi8(block, quote)));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
        while (mask != 0 && tokenCount < kMaxTokens) {
            position(base + static_cast<size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#else
    for (size_t j = 0; j < length && tokenCount < kMaxTokens; ++j)
        if (kClasses[static_cast<unsigned char>(text[j])] != kPlain) position(j);
#endif
    if (tokenCount < kMaxTokens) addCut(length + 1);
    tokens.Filled = tokenCount;
}

} // namespace vandra
