#include "app/gui/ErrorBox.h"

#include <QMessageBox>

namespace vandra::gui {
namespace {
std::function<void(const QString&, const QString&)>& Handler() {
    static std::function<void(const QString&, const QString&)> handler;
    return handler;
}
}  // namespace

void ShowErrorBox(QWidget* parent, const QString& message) {
    const QString title = QString::fromLatin1(kApplicationTitle);
    if (Handler()) {
        Handler()(title, message);
        return;
    }
    QMessageBox::critical(parent, title, message);
}

void SetErrorBoxHandler(std::function<void(const QString&, const QString&)> handler) {
    Handler() = std::move(handler);
}

}  // namespace vandra::gui
