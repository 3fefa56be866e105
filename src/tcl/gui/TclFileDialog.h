// "OpenSEES Tcl File": generates the script, shows it for editing and saves it.
#pragma once

#include "model/Model.h"
#include "tcl/ScriptGenerator.h"

#include <QDialog>

class QPlainTextEdit;

namespace vandra::gui {

class TclFileDialog : public QDialog {
    Q_OBJECT
public:
    TclFileDialog(TModel& model, TSettings& settings, QWidget* parent = nullptr);

    // Runs GenerateScript and puts ScriptLines into the text box (an error is shown, the text kept).
    void generate();
    // Writes the text box's lines, each followed by CR LF; no extension is added.
    bool saveTo(const QString& path);
    QString scriptText() const;
    const ScriptLineList& scriptLines() const { return ScriptLines; }

private:
    TModel& model_;
    TSettings& settings_;
    ScriptLineList ScriptLines;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace vandra::gui
