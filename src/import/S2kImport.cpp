#include "import/S2kImport.h"

#include "import/S2kReaders.h"
#include "model/Errors.h"
#include "model/LargeMemory.h"

#include <algorithm>
#include <fstream>

namespace vandra {

S2kText SplitS2kLines(std::string_view text) {
    return S2kText(std::string(text));
}

S2kText ReadS2kFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw InputError("Cannot open file \"" + path + "\"");
    std::string text;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size > 0) {
        text.reserve(static_cast<size_t>(size));
        AdviseHugePages(text.data(), text.capacity());
        text.resize(static_cast<size_t>(size));
        file.read(text.data(), size);
    }
    if (!file || file.gcount() != std::max<std::streamoff>(size, 0) || size < 0)
        throw InputError("Cannot read file \"" + path + "\"");
    return S2kText(std::move(text));
}

TModel ImportS2k(const S2kText& S2kLines) {
    TModel model;
    ReadSystem(S2kLines, model);
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
