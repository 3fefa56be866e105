// "Shell Section": the shell sections of the model and, per section, the shell element its
// shells get in the script, stored by "Modify".
#pragma once

#include "model/Model.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace vandra::gui {

class ShellSectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ShellSectionDialog(TModel& model, QWidget* parent = nullptr);

    void load();               // refills the list and shows the first section
    void showSection(int row); // fills the boxes from area section row + 1
    void apply();              // Modify: stores the element type of the selected section

protected:
    void showEvent(QShowEvent* event) override;

private:
    TModel& model_;
    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* thickness_ = nullptr;
    QLineEdit* material_ = nullptr;
    QComboBox* type_ = nullptr;
};

} // namespace vandra::gui
