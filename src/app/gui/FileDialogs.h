// The file dialogs of the program: names to save get their extension when typed without one, and
// every dialog starts beside the open model or in the folder last chosen for files of its kind.
#pragma once

#include <QString>

class QWidget;

namespace vandra::gui {

// The path with "." + suffix appended when its file name has no extension; empty stays empty.
QString WithSuffix(const QString& path, const QString& suffix);

// The folder a dialog for files of this kind ("script", "library", ...) starts in: the folder of
// the last such file chosen, else the open model's folder (empty before any: the current one).
QString StartFolder(const QString& kind);
void RememberFolder(const QString& kind, const QString& chosenPath);
void SetModelFolder(const QString& folder);

// The standard dialogs, starting in StartFolder(kind) and remembering the folder chosen. A file
// to save gets suffix when it has none; empty when cancelled.
QString AskFileToSave(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& kind, const QString& suffix);
QString AskFileToOpen(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& kind);

} // namespace vandra::gui
