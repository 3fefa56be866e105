#include "post/CsvText.h"

#include "model/NumberText.h"

#include <algorithm>

namespace vandra {
namespace {

void AppendName(std::string& out, const std::string& name) {
    if (name.find_first_of(",\"\r\n") == std::string::npos) {
        out += name;
        return;
    }
    out += '"';
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::string CsvText(std::span<const CsvColumn> columns) {
    std::string out;
    if (columns.empty()) return out;
    size_t rows = 0;
    for (const CsvColumn& c : columns) {
        AppendName(out, c.Name);
        out += ',';
        rows = std::max(rows, c.Values.size());
    }
    out.back() = '\n';
    for (size_t k = 0; k < rows; ++k) {
        for (const CsvColumn& c : columns) {
            if (k < c.Values.size()) text::AppendGeneral(out, c.Values[k]);
            out += ',';
        }
        out.back() = '\n';
    }
    return out;
}

} // namespace vandra
