#include "app/gui/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHash>

namespace vandra::gui {
namespace {

QHash<QString, QString>& LastFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

QString& ModelFolder() {
    static QString folder;
    return folder;
}

QString Ask(QWidget* parent, const QString& caption, const QString& filter, const QString& kind,
            const QString& suffix, bool save) {
    QFileDialog dialog(parent, caption, StartFolder(kind), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QString path = dialog.selectedFiles().value(0);
    RememberFolder(kind, path);
    return save ? WithSuffix(path, suffix) : path;
}

} // namespace

QString WithSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + suffix;
}

QString StartFolder(const QString& kind) {
    const QString last = LastFolders().value(kind);
    return last.isEmpty() ? ModelFolder() : last;
}

void RememberFolder(const QString& kind, const QString& chosenPath) {
    if (!chosenPath.isEmpty()) LastFolders()[kind] = QFileInfo(chosenPath).absolutePath();
}

void SetModelFolder(const QString& folder) {
    ModelFolder() = folder;
}

QString AskFileToSave(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& kind, const QString& suffix) {
    return Ask(parent, caption, filter, kind, suffix, true);
}

QString AskFileToOpen(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& kind) {
    return Ask(parent, caption, filter, kind, QString(), false);
}

} // namespace vandra::gui
