#include "model/ModelCheck.h"

#include "model/NumberText.h"

namespace vandra {

std::string FormatWarning(const TWarning& warning) {
    std::string line;
    if (!warning.File.empty()) line += warning.File + ":";
    if (warning.Line > 0) line += text::FormatInt(warning.Line) + ":";
    if (!line.empty()) line += " ";
    line += warning.What;
    if (!warning.Done.empty()) line += "; " + warning.Done;
    return line;
}

} // namespace vandra
