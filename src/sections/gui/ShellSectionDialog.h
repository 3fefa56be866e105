// "Shell Section": the shell sections of the model and, per section, the shell element its
// shells get in the script, stored by "Modify".
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace vandra::gui {

class ShellSectionDialog : public ModelessDialog {
    Q_OBJECT
public:
    explicit ShellSectionDialog(TModel& model, QWidget* parent = nullptr);

    void load() override;      // refills the list and shows the first section
    void showSection(int row); // fills the boxes from area section row + 1
    void apply() override;     // Modify: stores the element type of the selected section

private:
    TModel& model_;
    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* thickness_ = nullptr;
    QLineEdit* material_ = nullptr;
    QComboBox* type_ = nullptr;
};

} // namespace vandra::gui
