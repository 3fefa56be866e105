// The model check of the desktop program: after an import or a generation, one dialog lists what
// the engineer must know (one line per warning), with a check box to stop showing warnings for
// the model on screen.
#pragma once

#include "model/ModelCheck.h"

#include <QDialog>
#include <QString>

#include <set>

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace vandra::gui {

class WarningsDialog : public QDialog {
    Q_OBJECT
public:
    explicit WarningsDialog(QWidget* parent = nullptr);

    // Shows warnings about the model of file `model` (its path), unless there are none or the
    // user asked not to see them again for that model. Returns whether the dialog is shown.
    bool showWarnings(const QString& model, const QString& caption, const WarningList& warnings);
    QString text() const;
    bool silenced(const QString& model) const { return silenced_.count(model) > 0; }
    QCheckBox* doNotShowAgain() const { return doNotShowAgain_; }

private:
    QLabel* caption_ = nullptr;
    QPlainTextEdit* list_ = nullptr;
    QCheckBox* doNotShowAgain_ = nullptr;
    QString model_;
    std::set<QString> silenced_;

    void remember();
};

} // namespace vandra::gui
