// "Show Load": which load case and kind the view labels.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"
#include "view/ViewOptions.h"

class QComboBox;

namespace vandra::gui {

class ShowLoadDialog : public ModelessDialog {
    Q_OBJECT
public:
    ShowLoadDialog(const TModel& model, TViewOptions& options, QWidget* parent = nullptr);

    void load() override;
    void apply() override;

private:
    const TModel& model_;
    TViewOptions& options_;
    QComboBox* loadType_ = nullptr;
    QComboBox* loadCase_ = nullptr;
};

} // namespace vandra::gui
