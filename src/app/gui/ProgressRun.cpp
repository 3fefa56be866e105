#include "app/gui/ProgressRun.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace vandra::gui {
namespace {
constexpr int kPollInterval = 50; // milliseconds between two looks at the work
constexpr int kBarSteps = 1000;
} // namespace

bool RunWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(Progress&)>& work) {
    Progress progress;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            const ProgressScope scope(&progress);
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
    });

    QProgressDialog dialog(title, QStringLiteral("Cancel"), 0, kBarSteps, parent);
    dialog.setObjectName(QStringLiteral("progressDialog"));
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&progress] { progress.Cancel(); });
    // Starts the clock that shows the dialog after its minimum duration, also for work that
    // never gives a total (the dialog shows itself only once a value was set).
    dialog.setValue(0);

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished.load()) {
            loop.quit();
            return;
        }
        if (dialog.wasCanceled()) progress.Cancel();
        const Progress::State s = progress.Read();
        QString label = QString::fromStdString(s.Stage);
        if (s.Total <= 0 && s.Done > 0) label += QStringLiteral(": %1").arg(s.Done);
        if (!label.isEmpty()) dialog.setLabelText(label);
        dialog.setMaximum(s.Total > 0 ? kBarSteps : 0); // 0: a busy bar
        if (s.Total > 0) dialog.setValue(static_cast<int>(s.Fraction() * (kBarSteps - 1)));
    });
    poll.start(kPollInterval);
    loop.exec();
    worker.join();
    dialog.hide();

    // A Cancel that came after the last count still counts: the caller commits nothing.
    if (!failure) return !dialog.wasCanceled() && !progress.IsCancelled();
    try {
        std::rethrow_exception(failure);
    } catch (const Cancelled&) {
        return false;
    }
}

bool RunWithProgress(QWidget* parent, const QString& title, const char* stage,
                     const std::function<void()>& work) {
    return RunWithProgress(parent, title, [&](Progress& progress) {
        progress.Start(stage, 0);
        work();
    });
}

} // namespace vandra::gui
