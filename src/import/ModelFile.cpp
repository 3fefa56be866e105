#include "import/ModelFile.h"

#include "import/S2kImport.h"

namespace vandra {

TModel ImportModelText(const S2kText& lines, const std::string& fileName) {
    return ImportS2k(lines, fileName);
}

TModel ImportModelFile(const std::string& path) {
    return ImportModelText(ReadS2kFile(path), path);
}

} // namespace vandra
