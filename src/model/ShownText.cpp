#include "model/ShownText.h"

#include "model/NumberText.h"

namespace vandra::text {

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            out += '^';
            out += static_cast<char>(u ^ 64);
        } else {
            out += c;
        }
    }
    return out;
}

std::string ShownToken(std::string_view token, char quote) {
    const std::string q = quote == '\0' ? std::string() : std::string(1, quote);
    if (token.size() <= kShownTokenBytes) return q + EscapeControls(token) + q;
    size_t cut = kShownTokenBytes;
    // A UTF-8 continuation byte (10xxxxxx) belongs to the character before it.
    while (cut > 0 && (static_cast<unsigned char>(token[cut]) & 0xC0) == 0x80)
        --cut;
    return q + EscapeControls(token.substr(0, cut)) + "..." + q + " (" +
           FormatInt(static_cast<long long>(token.size())) + " bytes)";
}

} // namespace vandra::text
