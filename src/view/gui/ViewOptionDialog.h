// "View Option": the thirteen layer switches of the model view.
#pragma once

#include "model/Model.h"

#include <QDialog>

#include <array>

class QCheckBox;

namespace vandra::gui {

class ViewOptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ViewOptionDialog(TSettings& settings, QWidget* parent = nullptr);

    void load();
    void apply();

signals:
    void redrawRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TSettings& settings_;
    std::array<QCheckBox*, 14> switchBoxes_{}; // [1..13], one per ViewOpt switch
};

} // namespace vandra::gui
