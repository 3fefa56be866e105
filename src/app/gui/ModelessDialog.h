// The shape of the program's modeless dialogs: load() fills the controls each time the program
// shows the dialog, apply() stores them, and a row of standard buttons runs them.
//
//   OK      apply(), then the dialog closes (accept)
//   Apply   apply(); the dialog stays open
//   Cancel, Close   the dialog closes (reject), nothing stored
//
// apply() refuses by throwing (ConversionError, InputError, ...): the message is shown in an
// error box and the dialog stays open. After every apply() that went through, applied() is
// emitted.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>

class QPushButton;

namespace vandra::gui {

class ModelessDialog : public QDialog {
    Q_OBJECT
public:
    explicit ModelessDialog(QWidget* parent, Qt::WindowFlags flags = {});

    // Fills every control from what the dialog edits.
    virtual void load() = 0;
    // Stores the controls; throws to refuse. A dialog that only shows stores nothing.
    virtual void apply() {}
    // apply() with its refusal shown in an error box; true when it went through.
    bool tryApply();

signals:
    void applied();

protected:
    // The dialog's button row. The buttons are named okButton, applyButton, cancelButton,
    // closeButton; a dialog may rename and retitle one (Apply as "Modify", modifyButton).
    QDialogButtonBox* makeButtons(QDialogButtonBox::StandardButtons buttons);
    QPushButton* button(QDialogButtonBox::StandardButton which) const;

    // Loads when the program shows the dialog; a window restored by the system (un-minimised)
    // keeps what the user typed.
    void showEvent(QShowEvent* event) override;

private:
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace vandra::gui
