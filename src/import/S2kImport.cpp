#include "import/S2kImport.h"

#include "import/S2kReaders.h"
#include "model/Errors.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace vandra {

std::vector<std::string> SplitS2kLines(std::string_view text) {
    std::vector<std::string> lines;
    const char* const begin = text.data();
    const size_t size = text.size();
    if (size == 0) return lines;
    const bool hasCr = std::memchr(begin, '\r', size) != nullptr;
    // Counting the line ends first spares the moves of a growing list.
    size_t ends = 0;
    if (hasCr) {
        for (size_t i = 0; i < size; ++i)
            if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n')))
                ++ends;
    } else {
        for (const char* p = begin; (p = static_cast<const char*>(std::memchr(
                                         p, '\n', static_cast<size_t>(begin + size - p))));
             ++p)
            ++ends;
    }
    lines.reserve(ends + 1);

    size_t start = 0;
    if (!hasCr) {
        while (start < size) {
            const void* lf = std::memchr(begin + start, '\n', size - start);
            const size_t end =
                lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) : size;
            lines.emplace_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
    for (size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    // A last line without a line end still counts; a line end at the very end adds no line.
    if (start < size) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> ReadS2kFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw InputError("Cannot open file \"" + path + "\"");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) throw InputError("Cannot read file \"" + path + "\"");
    return SplitS2kLines(text);
}

TModel ImportS2k(const std::vector<std::string>& S2kLines) {
    TModel model;
    ReadJoints(S2kLines, model);
    ReadConstraints(S2kLines, model);
    ReadRestraints(S2kLines, model);
    ReadMasses(S2kLines, model);
    ReadMaterials(S2kLines, model);
    ReadFrameSections(S2kLines, model);
    ReadShellSections(S2kLines, model);
    ReadFrames(S2kLines, model);
    ReadShells(S2kLines, model);
    ReadSolids(S2kLines, model);
    ReadLoads(S2kLines, model);
    LinkRigidBeams(model);
    return model;
}

StatusCounts CountsOf(const TModel& model) {
    StatusCounts c;
    c.Node = CountOf(model.NodeCount);
    c.Frame = CountOf(model.FrameCount);
    c.Shell = CountOf(model.ShellCount1);
    c.Solid = CountOf(model.SolidCount);
    c.Mat = CountOf(model.MatCount);
    c.Fsec = CountOf(model.SectionCount);
    c.Wsec = CountOf(model.AreaSecCount);
    return c;
}

} // namespace vandra
