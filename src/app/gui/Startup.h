// Start-up of the desktop program, before the main window exists.
#pragma once

namespace vandra::gui {

// Sets the application title "MERVA" that message boxes carry.
void SetApplicationTitle();

} // namespace vandra::gui
