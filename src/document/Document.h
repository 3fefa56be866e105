// What the engineer has open: the model, the analysis settings, the text of the model file and its
// path, and the results loaded back from the solver. A model comes in only through replace(): the
// main window's File > Import and File > Open Project and every vandra-cli command use it, so
// nothing that belonged to the previous model (its results) survives by accident. See
// Document.md.
#pragma once

#include "import/S2kText.h"
#include "model/Model.h"
#include "model/Progress.h"
#include "post/Results.h"

#include <optional>
#include <string>
#include <vector>

namespace vandra {

// A model read from its file and checked, not yet open: what replace() puts in place.
struct TOpenedModel {
    TModel Model;
    S2kText Text;     // the model file's lines as read
    std::string Path; // the model file, the system's 8-bit name
    // The analysis settings that came with the model (a project); without them the document
    // keeps its own.
    std::optional<TSettings> Settings;
    // The ground-motion suite that came with the model (a project: its file's path, empty for
    // none); without it the document keeps its own.
    std::optional<std::string> SuitePath;
};

// Reads the model file at path and imports it by the importer of its format (a tabular file is
// converted and says how in *report). What the reader and the importers throw passes through:
// nothing is open until replace() takes the result. The import counts its progress; a cancel
// throws Cancelled and leaves the open model as it was.
TOpenedModel ReadModelFile(const std::string& path, std::vector<std::string>* report = nullptr,
                           Progress* progress = nullptr);

class Document {
public:
    const TModel& model() const { return model_; }
    // The section, shell section and material dialogs edit the choices in place.
    TModel& model() { return model_; }
    const TSettings& settings() const { return settings_; }
    TSettings& settings() { return settings_; }
    const TResults& results() const { return results_; }
    TResults& results() { return results_; }
    const S2kText& text() const { return text_; }
    // The model file of the open model; empty before the first replace.
    const std::string& path() const { return path_; }
    bool hasModel() const { return !path_.empty(); }
    // The ground-motion suite kept with the project (the path of its file), empty when none.
    const std::string& suitePath() const { return suitePath_; }
    void setSuitePath(std::string path) { suitePath_ = std::move(path); }

    // Opens `opened` in place of the open model: its model, text, path and (when it brought them)
    // settings and suite replace the document's, and the loaded results and their colour range go.
    // Cannot fail, so a file that fails to read or import, which never gets here, leaves the
    // document exactly as it was.
    void replace(TOpenedModel opened) noexcept;

private:
    TModel model_;
    TSettings settings_;
    TResults results_;
    S2kText text_;
    std::string path_;
    std::string suitePath_;
};

} // namespace vandra
