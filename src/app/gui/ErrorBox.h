// Error messages of the desktop program: a message box titled with the application title.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vandra::gui {

inline constexpr const char* kApplicationTitle = "MERVA";

// Shows message in a modal message box titled "MERVA". Tests install a handler instead so that no
// modal box blocks them; the handler receives the title and the text.
void ShowErrorBox(QWidget* parent, const QString& message);
void SetErrorBoxHandler(std::function<void(const QString& title, const QString& text)> handler);

}  // namespace vandra::gui
