#include "tcl/gui/TclFileDialog.h"

#include "app/gui/ErrorBox.h"
#include "app/gui/ProgressRun.h"
#include "model/Errors.h"
#include "tcl/GroundRecord.h"

#include <QFile>
#include "app/gui/FileDialogs.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace vandra::gui {

TclFileDialog::TclFileDialog(TModel& model, TSettings& settings, QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings) {
    setWindowTitle(QStringLiteral("OpenSEES Tcl File"));
    resize(640, 520);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("scriptText"));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    text_->setFont(fixed);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette colours = text_->palette();
    colours.setColor(QPalette::Text, Qt::green);
    text_->setPalette(colours);
    text_->setPlainText(QStringLiteral("OpenSEES Tcl File"));

    auto* generate = new QPushButton(QStringLiteral("Generate"), this);
    generate->setObjectName(QStringLiteral("generateButton"));
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("saveButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(generate);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("OpenSEES tcl File"), this));
    layout->addWidget(text_);
    layout->addLayout(buttons);

    savePath_ = [this] {
        return AskFileToSave(this, QStringLiteral("Save the OpenSEES tcl file"),
                             QStringLiteral("OpenSEES tcl (*.tcl)"), QStringLiteral("script"),
                             QStringLiteral("tcl"));
    };

    connect(generate, &QPushButton::clicked, this, [this] { this->generate(); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TclFileDialog::setSavePathProvider(std::function<QString()> provider) {
    savePath_ = std::move(provider);
}

void TclFileDialog::generate() {
    // GenerateScript leaves ScriptLines as they were when it refuses; the text box then keeps
    // whatever it shows, and so does a cancelled generation.
    if (model_.NodeCount < 1) {
        ShowErrorBox(this, QStringLiteral("There is nothing to generate: import a model first "
                                          "(File > Import Sap2000 txt file)."));
        return;
    }
    WarningList warnings;
    ScriptLineList next;
    try {
        if (!RunWithProgress(this, QStringLiteral("Generate"), [&](Progress& progress) {
                GenerateScript(model_, settings_, next, &warnings, &progress);
            }))
            return;
        ScriptLines.swap(next);
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLatin1(e.what()));
        return;
    }
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(ScriptLines.size()));
    for (std::string_view line : ScriptLines)
        lines << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    text_->setPlainText(lines.join(QLatin1Char('\n')));
    if (!warnings.empty()) emit warningsFound(warnings);
}

QString TclFileDialog::scriptText() const {
    return text_->toPlainText();
}

bool TclFileDialog::saveTo(const QString& path) {
    // The text box's lines as they stand: an empty box has no line, and a line break typed at
    // the end starts one more (empty) line, as the box shows it.
    ScriptLineList lines;
    const QString all = text_->toPlainText();
    if (!all.isEmpty()) {
        for (QString line : all.split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
            lines.push_back(line.toLatin1().toStdString());
        }
    }
    try {
        // The record the script reads goes beside it first: a script is not saved without it.
        CopyRecordBeside(settings_, QFile::encodeName(path).toStdString());
        WriteScriptFile(QFile::encodeName(path).toStdString(), lines);
    } catch (const std::exception& e) {
        // The message names the file, whose name came in the system's 8-bit encoding.
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        return false;
    }
    emit scriptSaved(path);
    return true;
}

void TclFileDialog::save() {
    const QString path = WithSuffix(savePath_ ? savePath_() : QString(), QStringLiteral("tcl"));
    if (path.isEmpty()) return;
    saveTo(path);
}

} // namespace vandra::gui
