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
    model_ = std::move(opened.Model);
    text_ = std::move(opened.Text);
    path_ = std::move(opened.Path);
    if (opened.Settings) settings_ = *opened.Settings;
    if (opened.SuitePath) suitePath_ = std::move(*opened.SuitePath);
    results_ = TResults();
}

} // namespace vandra
