// "View Option": the thirteen layer switches of the model view.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "view/ViewOptions.h"

namespace vandra::gui {

class ViewOptionDialog : public ModelessDialog {
    Q_OBJECT
public:
    explicit ViewOptionDialog(TViewOptions& options, QWidget* parent = nullptr);

    void load() override;
    void apply() override;

private:
    TViewOptions& options_;
};

} // namespace vandra::gui
