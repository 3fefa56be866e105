// File > "Save picture" and Post > "Export animation": the model view as it is shown, saved as a
// picture (PNG, SVG) or as a movie (MP4, GIF) of a chosen size. A movie replays the loaded steps
// at the animation's scale or swings the loaded deformed shape (a mode) through one period. Both
// are drawn and written on a worker thread with a progress bar and Cancel.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "post/Animation.h"
#include "post/Results.h"
#include "view/Camera.h"
#include "view/ViewOptions.h"

#include <functional>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace vandra::gui {

class SaveViewDialog : public ModelessDialog {
    Q_OBJECT
public:
    enum class Kind { Picture, Movie };
    // viewSize gives the model view's size now: the saved view shows what the view shows, scaled
    // to fit the chosen size.
    SaveViewDialog(Kind kind, const TModel& model, const TViewOptions& options,
                   const TViewState& view, const TResults& results, const TAnimation& animation,
                   std::function<QSize()> viewSize, QWidget* parent);

    void load() override;
    // Writes the file; a refusal (size, frame rate, name, nothing loaded) throws. A cancelled
    // picture or movie leaves no file and returns quietly.
    void apply() override;

private:
    Kind kind_;
    const TModel& model_;
    const TViewOptions& options_;
    const TViewState& view_;
    const TResults& results_;
    const TAnimation& animation_;
    std::function<QSize()> viewSize_;
    QLineEdit* fileEdit_ = nullptr;
    QSpinBox* widthEdit_ = nullptr;
    QSpinBox* heightEdit_ = nullptr;
    QSpinBox* fpsEdit_ = nullptr;
    QComboBox* motionBox_ = nullptr;
};

} // namespace vandra::gui
