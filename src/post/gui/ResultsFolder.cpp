#include "post/gui/ResultsFolder.h"

#include "app/gui/ProgressRun.h"

#include <QFileDialog>

namespace vandra::gui {

ResultsFolder::ResultsFolder() {
    choose_ = [](QWidget* parent, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("Results folder"), start);
    };
}

bool ResultsFolder::choose(QWidget* parent) {
    const QString chosen = choose_(parent, folder_.isEmpty() ? start_ : folder_);
    if (chosen.isEmpty()) return false;
    folder_ = chosen;
    return true;
}

QString ResultsFolder::ensure(QWidget* parent) {
    if (folder_.isEmpty() && !choose(parent)) return QString();
    return folder_;
}

bool ReadResultFiles(QWidget* parent, const std::function<void()>& read) {
    return RunWithProgress(parent, QStringLiteral("Load results"), "Reading the result files",
                           read);
}

} // namespace vandra::gui
