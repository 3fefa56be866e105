// "View Option": the thirteen layer switches of the model view.
#pragma once

#include "view/ViewOptions.h"

#include <QDialog>

namespace vandra::gui {

class ViewOptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ViewOptionDialog(TViewOptions& options, QWidget* parent = nullptr);

    void load();
    void apply();

signals:
    void redrawRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TViewOptions& options_;
};

} // namespace vandra::gui
