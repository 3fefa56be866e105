// "Show Load": which load case and kind the view labels.
#pragma once

#include "model/Model.h"

#include <QDialog>

class QComboBox;

namespace vandra::gui {

class ShowLoadDialog : public QDialog {
    Q_OBJECT
public:
    ShowLoadDialog(TModel& model, TSettings& settings, QWidget* parent = nullptr);

    void load();
    void apply();

signals:
    void redrawRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TModel& model_;
    TSettings& settings_;
    QComboBox* loadType_ = nullptr;
    QComboBox* loadCase_ = nullptr;
};

} // namespace vandra::gui
