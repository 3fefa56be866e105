// The "Animation" dialog: loads the displacement history of every node (every recorded step),
// chooses what moves (every loaded step, or the loaded mode shape through one period), the scale
// (automatic after each load until one is typed) and the speed in steps a second, and drives the
// main window's animation: play or pause, a step back or forward, with the step counter.
#pragma once

#include "model/Model.h"
#include "post/Animation.h"
#include "post/Results.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vandra::gui {

class ResultsFolder;

class AnimationDialog : public QDialog {
    Q_OBJECT
public:
    AnimationDialog(const TModel& model, TResults& results, TAnimation& animation,
                    ResultsFolder& folder, QWidget* parent = nullptr);

    // "LOAD DISP DATA": every step of every node file (stored only when every file was read).
    void loadHistory();
    // The motion, scale and speed from the fields into the animation; a refused field throws,
    // naming it, with the animation as it was.
    void storeFields();
    // The counter and the play button as the animation stands (`running`: the timer runs).
    void showFrame(bool running);

    QString statusText() const;

signals:
    // Play / Pause: the main window switches its timer.
    void runStopRequested();
    // A step back (-1) or forward (+1), the animation paused.
    void stepRequested(int delta);

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename Work> void guarded(Work&& work);
    AnimationMotion motion() const;
    void showAutomaticScale();

    const TModel& model_;
    TResults& results_;
    TAnimation& animation_;
    ResultsFolder& folder_;
    QComboBox* motionBox_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    QLineEdit* speedEdit_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QLabel* counterLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    bool scaleTyped_ = false;
};

} // namespace vandra::gui
