// The "Animation" dialog: loads the displacement history of every node and starts or stops the
// main window's animation timer.
#pragma once

#include "model/Model.h"
#include "post/Animation.h"
#include "post/Results.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace vandra::gui {

class ResultsFolder;

class AnimationDialog : public QDialog {
    Q_OBJECT
public:
    AnimationDialog(const TModel& model, TResults& results, TAnimation& animation,
                    ResultsFolder& folder, QWidget* parent = nullptr);

    // "LOAD DISP DATA": Nstep and AnimScale from the fields, then the history of Nstep steps
    // (stored only when every node file was read).
    void loadHistory();

    QString statusText() const;

signals:
    // "Run Animation / Stop Animation": the main window switches its timer.
    void runStopRequested();

private:
    const TModel& model_;
    TResults& results_;
    TAnimation& animation_;
    ResultsFolder& folder_;
    QLineEdit* nstepEdit_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    QLabel* statusLabel_ = nullptr;
};

} // namespace vandra::gui
