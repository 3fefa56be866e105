// "Frame Properties": a read-only grid of what the store knows about the picked frame.
#pragma once

#include "model/Model.h"
#include "view/Interaction.h"

#include <QDialog>

namespace vandra::gui {

class FramePropertiesDialog : public QDialog {
    Q_OBJECT
public:
    FramePropertiesDialog(TModel& model, TInteraction& interaction, QWidget* parent = nullptr);

    void refresh();  // fills column 1 from the frame number in "Frame Label"

signals:
    // The window closed: SelectedFrame is 0 again and the view must be redrawn.
    void selectionCleared();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TModel& model_;
    TInteraction& interaction_;
};

}  // namespace vandra::gui
