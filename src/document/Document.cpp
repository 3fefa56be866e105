#include "document/Document.h"

#include "import/ModelFile.h"
#include "import/S2kImport.h"

#include <utility>

namespace vandra {

TOpenedModel ReadModelFile(const std::string& path, std::vector<std::string>* report,
                           Progress* progress) {
    TOpenedModel opened;
    StartProgress(progress, "Reading the model file", 0);
    opened.Text = ReadS2kFile(path);
    opened.Model = ImportModelText(opened.Text, path, report, progress);
    opened.Path = path;
    return opened;
}

void Document::replace(TOpenedModel opened) noexcept {
    // A length setting keeps its size when the next model counts lengths in another unit.
    const double scale =
        MillimetresPerUnit(model_.LengthUnit) / MillimetresPerUnit(opened.Model.LengthUnit);
    model_ = std::move(opened.Model);
    text_ = std::move(opened.Text);
    path_ = std::move(opened.Path);
    if (opened.Settings)
        settings_ = *opened.Settings;
    else
        settings_.ControlDisp *= scale;
    if (opened.SuitePath) suitePath_ = std::move(*opened.SuitePath);
    results_ = TResults();
}

} // namespace vandra
