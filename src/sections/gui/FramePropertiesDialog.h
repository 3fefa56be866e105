// "Frame Properties": a read-only grid of what the store knows about the picked frame.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"
#include "view/Interaction.h"

class QLineEdit;
class QTableWidget;

namespace vandra::gui {

class FramePropertiesDialog : public ModelessDialog {
    Q_OBJECT
public:
    FramePropertiesDialog(TModel& model, TInteraction& interaction, QWidget* parent = nullptr);

    // Shows the picked frame. Run only when the window becomes visible: a later pick brings it
    // to the front and it keeps showing the frame it was opened for.
    void load() override;
    void refresh(); // fills column 1 from the frame number in "Frame Label"

signals:
    // The window closed: SelectedFrame is 0 again and the view must be redrawn.
    void selectionCleared();

private:
    TModel& model_;
    TInteraction& interaction_;
    QLineEdit* frameLabel_ = nullptr;
    QTableWidget* grid_ = nullptr;

    // OK, Escape and the close box all end here: the selection ends with the window.
    void done(int result) override;
    void setValue(int row, const QString& value);
};

} // namespace vandra::gui
