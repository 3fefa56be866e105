// "Transfer Sap2000 V14 s2k file to Sap2000 V16": converts a SAP2000 V14 solid model into version 6
// text and saves it, with a log of what was converted.
#pragma once

#include "convert/V14Converter.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace vandra::gui {

class V14ConverterWindow : public QDialog {
    Q_OBJECT
public:
    explicit V14ConverterWindow(QWidget* parent = nullptr);

    // Asks for a file name; an empty name cancels. By default the platform's file dialogs (no
    // filter); tests put plain functions here.
    using PathProvider = std::function<QString()>;
    void setOpenPathProvider(PathProvider provider) { openPath_ = std::move(provider); }
    void setSavePathProvider(PathProvider provider) { savePath_ = std::move(provider); }

    // "Open S2k" with the file chosen: clears V6Lines, reads the file and converts it. On an error
    // the message is shown (box and log) and V6Lines stay empty, so nothing half converted can be
    // saved.
    void openFile(const QString& path);
    // "Save S2k" with the file chosen: writes V6Lines, each line ended by CR LF (an empty file
    // before any conversion). Returns false, after showing the message, when it cannot be written.
    bool saveFile(const QString& path);

    const std::vector<std::string>& v6Lines() const { return V6Lines; }
    QString logText() const;

private:
    std::vector<std::string> V6Lines;
    std::string sourcePath_; // the V14 file converted last, which a save may not replace
    QPlainTextEdit* log_ = nullptr;
    PathProvider openPath_;
    PathProvider savePath_;
};

} // namespace vandra::gui
