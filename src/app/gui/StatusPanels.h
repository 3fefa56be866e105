// The 17 text panels of the main window's status bar: "Operation", the mouse mode, and the seven
// counts of the model behind their labels.
#pragma once

#include "import/S2kImport.h"

#include <QString>

#include <array>

class QLabel;
class QStatusBar;

namespace vandra::gui {

inline constexpr int kStatusPanelCount = 17;
inline constexpr int kModePanel = 1;

class StatusPanels {
public:
    // Adds the panels to bar; they are named statusPanel0 .. statusPanel16.
    explicit StatusPanels(QStatusBar* bar);

    void setMode(const QString& text);
    void setCounts(const StatusCounts& counts);
    QLabel* panel(int index) const { return panels_.at(index); }

private:
    std::array<QLabel*, kStatusPanelCount> panels_{};
};

} // namespace vandra::gui
