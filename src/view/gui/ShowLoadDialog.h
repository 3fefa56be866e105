// "Show Load": which load case and kind the view labels.
#pragma once

#include "model/Model.h"
#include "view/ViewOptions.h"

#include <QDialog>

class QComboBox;

namespace vandra::gui {

class ShowLoadDialog : public QDialog {
    Q_OBJECT
public:
    ShowLoadDialog(const TModel& model, TViewOptions& options, QWidget* parent = nullptr);

    void load();
    void apply();

signals:
    void redrawRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TModel& model_;
    TViewOptions& options_;
    QComboBox* loadType_ = nullptr;
    QComboBox* loadCase_ = nullptr;
};

} // namespace vandra::gui
