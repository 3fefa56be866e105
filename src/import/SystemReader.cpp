// Reader of the SYSTEM section: the length unit of the model.
#include "import/ReaderSupport.h"
#include "import/S2kReaders.h"
#include "model/NumberText.h"

#include <cctype>

namespace vandra {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::optional<int> LengthUnitOfName(std::string_view name) {
    static constexpr std::pair<std::string_view, int> kUnits[] = {{"MM", kLengthMM},
                                                                  {"CM", kLengthCM},
                                                                  {"M", kLengthM},
                                                                  {"IN", kLengthIN},
                                                                  {"FT", kLengthFT}};
    for (const auto& [unitName, code] : kUnits)
        if (EqualsIgnoringCase(name, unitName)) return code;
    return std::nullopt;
}

// "SYSTEM" then "  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=MM  FORCE=N": the value after the key LENGTH (any
// case, anywhere on the section's lines). The header may stand on the first line of the file, as
// in the files the V14 converter writes. Without a LENGTH key the model is in millimetres.
void ReadSystem(const S2kLineList& lines, TModel& model) {
    model.LengthUnit = kLengthMM;
    size_t header = 0;
    while (header < lines.size() && lines[header] != "SYSTEM")
        ++header;
    S2kTokens t;
    for (size_t i = header + 1; i < lines.size() && !IsBlankLine(lines[i]); ++i) {
        Tokenize(lines[i], t);
        for (int k = 0; k + 1 < kTokenSlots; ++k) {
            if (!EqualsIgnoringCase(t[k], "LENGTH")) continue;
            const std::optional<int> unit = LengthUnitOfName(t[k + 1]);
            if (unit) {
                model.LengthUnit = *unit;
            } else {
                model.LengthUnit = kLengthMM;
                model.Warnings.push_back({"", static_cast<int>(i) + 1,
                                          "the SYSTEM section gives the length unit '" +
                                              std::string(t[k + 1]) +
                                              "', which is none of MM, CM, M, IN, FT",
                                          "lengths are taken as millimetres"});
            }
        }
    }
}

} // namespace vandra
