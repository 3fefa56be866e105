#include "app/gui/HelpPages.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vandra::gui {

QStringList HelpFolders(const QString& programDir) {
    return {QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../share/vandra/docs"))),
            QDir::cleanPath(QStringLiteral(VANDRA_DOCS_DIR))};
}

QString FindHelpPage(const QString& programDir, const QString& fileName) {
    for (const QString& folder : HelpFolders(programDir)) {
        const QFileInfo page(QDir(folder).filePath(fileName));
        if (page.isFile()) return page.absoluteFilePath();
    }
    return QString();
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("VANDRA Help"));
    resize(760, 820);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* back = new QPushButton(QStringLiteral("Back"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addLayout(buttons);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("VANDRA Help") : title);
    });
    back->setEnabled(false);
}

void HelpWindow::showPage(const QString& path) {
    browser_->setSource(QUrl::fromLocalFile(path));
}

} // namespace vandra::gui
