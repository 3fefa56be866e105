// "OpenSEES Tcl File": generates the script, shows it for editing and saves it.
#pragma once

#include "model/Model.h"
#include "tcl/ScriptGenerator.h"

#include <QDialog>

#include <functional>

class QPlainTextEdit;

namespace vandra::gui {

class TclFileDialog : public QDialog {
    Q_OBJECT
public:
    TclFileDialog(TModel& model, TSettings& settings, QWidget* parent = nullptr);

    // Runs GenerateScript and puts ScriptLines into the text box; on an error the message is
    // shown and the text box kept.
    void generate();
    // Writes the text box's lines, each followed by CR LF; no extension is added.
    bool saveTo(const QString& path);
    QString scriptText() const;
    // Asks for the name to save under (an empty name cancels). By default the platform's save
    // dialog with the filter "OpenSEES tcl (*.tcl)"; tests put a plain function here.
    void setSavePathProvider(std::function<QString()> provider);
    const ScriptLineList& scriptLines() const { return ScriptLines; }

signals:
    // After a generation that found something the engineer must know about the script.
    void warningsFound(const vandra::WarningList& warnings);
    // After the script was saved to path: the solver's results will be looked for beside it.
    void scriptSaved(const QString& path);

private:
    TModel& model_;
    TSettings& settings_;
    ScriptLineList ScriptLines;
    QPlainTextEdit* text_ = nullptr;
    std::function<QString()> savePath_;

    void save();
};

} // namespace vandra::gui
