// Long work with a progress bar and a Cancel button: the work runs on a thread of its own and
// counts through a Progress; the window keeps repainting while it runs.
#pragma once

#include "model/Progress.h"

#include <QString>

#include <functional>

class QWidget;

namespace vandra::gui {

// Runs work on a worker thread (with the progress as the thread's ProgressScope) while a modal progress dialog (objectName "progressDialog") shows
// its stage and count; Cancel asks the work to stop at its next count. Returns true when the work
// finished, false when it was cancelled (it threw Cancelled, or Cancel came after it finished); any other exception of the work is
// thrown again here, on the calling thread. The work must not touch widgets; what it makes is
// committed by the caller after it returns.
bool RunWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(Progress&)>& work);

// The same for work that counts through the thread's progress (ThreadProgress: the recorder
// readers count files), under `stage` with an unknown total: the dialog shows the count.
bool RunWithProgress(QWidget* parent, const QString& title, const char* stage,
                     const std::function<void()>& work);

} // namespace vandra::gui
