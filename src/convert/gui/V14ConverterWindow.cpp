#include "convert/gui/V14ConverterWindow.h"

#include "app/gui/ErrorBox.h"
#include "import/S2kImport.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"

#include <QFile>
#include "app/gui/FileDialogs.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace vandra::gui {

V14ConverterWindow::V14ConverterWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("v14ConverterWindow"));
    setWindowTitle(QStringLiteral("Transfer Sap2000 V14 s2k file to Sap2000 V16"));
    resize(418, 356);

    auto* useFor = new QGroupBox(QStringLiteral("Use For"), this);
    auto* useForLayout = new QVBoxLayout(useFor);
    useForLayout->addWidget(
        new QLabel(QStringLiteral("Transfer 3D Solid model buildt in Sap2000 V14"), useFor));
    useForLayout->addWidget(new QLabel(
        QStringLiteral("to Be Sap2000 V6 S2K Format Which can Import to VANDRA"), useFor));

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("logText"));
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* open = new QPushButton(QStringLiteral("Open S2k"), this);
    open->setObjectName(QStringLiteral("openButton"));
    auto* save = new QPushButton(QStringLiteral("Save S2k"), this);
    save->setObjectName(QStringLiteral("saveButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(save);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(useFor);
    layout->addWidget(log_);
    layout->addLayout(buttons);

    openPath_ = [this] {
        return AskFileToOpen(this, QStringLiteral("Open a SAP2000 V14 text model"),
                             QStringLiteral("SAP2000 V14 text (*.s2k *.$2k);;All files (*)"),
                             QStringLiteral("v14"));
    };
    savePath_ = [this] {
        return AskFileToSave(this, QStringLiteral("Save the v6 model"),
                             QStringLiteral("s2k file (*.s2k)"), QStringLiteral("v6"),
                             QStringLiteral("s2k"));
    };
    connect(open, &QPushButton::clicked, this, [this] {
        const QString path = openPath_ ? openPath_() : QString();
        if (!path.isEmpty()) openFile(path);
    });
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = WithSuffix(savePath_ ? savePath_() : QString(), QStringLiteral("s2k"));
        if (!path.isEmpty()) saveFile(path);
    });
}

QString V14ConverterWindow::logText() const {
    return log_->toPlainText();
}

void V14ConverterWindow::openFile(const QString& path) {
    V6Lines.clear();
    try {
        sourcePath_ = QFile::encodeName(path).toStdString();
        const V14Conversion conversion = ConvertV14(ReadS2kFile(sourcePath_));
        V6Lines = conversion.V6Lines;
        QStringList log;
        for (const std::string& line : conversion.Log)
            log << QString::fromStdString(line);
        log_->setPlainText(log.join(QLatin1Char('\n')));
    } catch (const std::exception& e) {
        // Names and values came from the file as 8-bit text.
        const QString message = QString::fromLocal8Bit(e.what());
        log_->setPlainText(message);
        ShowErrorBox(this, message);
    }
}

bool V14ConverterWindow::saveFile(const QString& path) {
    try {
        const std::string target = QFile::encodeName(path).toStdString();
        const ReadInput source[] = {{sourcePath_, "the V14 file"}};
        if (InputReplacedBy(target, source) != nullptr)
            throw InputError("Cannot write file \"" + target +
                             "\". It is the V14 file that was "
                             "converted; choose another file");
        WriteV6File(target, V6Lines);
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        return false;
    }
    return true;
}

} // namespace vandra::gui
