#include "import/ModelFile.h"

#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "import/TabularReader.h"

namespace vandra {

TModel ImportModelText(const S2kText& lines, const std::string& fileName,
                       std::vector<std::string>* report, Progress* progress) {
    if (IsTabularSap2000(lines)) return ImportTabular(lines, fileName, report, progress);
    return ImportS2k(lines, fileName, progress);
}

} // namespace vandra
