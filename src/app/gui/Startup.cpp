#include "app/gui/Startup.h"

#include "app/gui/ErrorBox.h"

#include <QCoreApplication>

namespace vandra::gui {

void SetApplicationTitle() {
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // Where QSettings keeps the recent files.
    QCoreApplication::setOrganizationName(QStringLiteral("VANDRA"));
}

} // namespace vandra::gui
