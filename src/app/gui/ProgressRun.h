// Long work with a progress bar and a Cancel button: the work runs on a thread of its own and
// counts through a Progress; the window keeps repainting while it runs.
#pragma once

#include "model/Progress.h"

#include <QString>

#include <functional>

class QWidget;

namespace vandra::gui {

// Runs work on a worker thread while a modal progress dialog (objectName "progressDialog") shows
// its stage and count; Cancel asks the work to stop at its next count. Returns true when the work
// finished, false when it was cancelled (it threw Cancelled); any other exception of the work is
// thrown again here, on the calling thread. The work must not touch widgets; what it makes is
// committed by the caller after it returns.
bool RunWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(Progress&)>& work);

} // namespace vandra::gui
