// The folder of the solver's recorder files: asked for once (a folder dialog that starts in the
// folder of the script last run, or of the model), then remembered for every reader.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vandra::gui {

class ResultsFolder {
public:
    // Asks for a folder starting in `start`; empty when the user cancelled.
    using Chooser = std::function<QString(QWidget* parent, const QString& start)>;

    ResultsFolder();

    const QString& folder() const { return folder_; }
    void setFolder(const QString& folder) { folder_ = folder; }
    // Where the folder dialog starts when no folder has been chosen yet.
    void setStartFolder(const QString& start) { start_ = start; }
    void setChooser(Chooser chooser) { choose_ = std::move(chooser); }

    // Asks for a folder and remembers it; false when the user cancelled.
    bool choose(QWidget* parent);
    // The remembered folder, or the one the user chooses now; empty when cancelled.
    QString ensure(QWidget* parent);

private:
    QString folder_, start_;
    Chooser choose_;
};

// Reads result files on a worker thread with a progress bar that counts the files and a Cancel
// button; the window keeps repainting. `read` fills tables of its own, which the caller stores
// when this returns true: a cancelled or failed read leaves the loaded results as they were.
bool ReadResultFiles(QWidget* parent, const std::function<void()>& read);

// The status text after Cancel.
inline const QString kResultReadCancelled =
    QStringLiteral("Cancelled: the results loaded before are kept.");

} // namespace vandra::gui
