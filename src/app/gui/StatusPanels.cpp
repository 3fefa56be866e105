#include "app/gui/StatusPanels.h"

#include "model/NumberText.h"

#include <QLabel>
#include <QStatusBar>

namespace vandra::gui {
namespace {

constexpr int kFirstPanelWidth = 80;
constexpr int kPanelWidth = 50;

// The fixed labels stand in the even panels 2..14; each count follows its label.
const char* const kCountLabels[7] = {"Node", "Frame", "Shell", "Solid", "Mat", "Fsec", "Wsec"};

QString CountText(int count) {
    return QString::fromStdString(text::FormatInt(count));
}

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar) {
    for (int i = 0; i < kStatusPanelCount; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        label->setFixedWidth(i == 0 ? kFirstPanelWidth : kPanelWidth);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(2);
        bar->addWidget(label);
        panels_[i] = label;
    }
    panels_[0]->setText(QStringLiteral("Operation"));
    for (int k = 0; k < 7; ++k)
        panels_[2 + 2 * k]->setText(QString::fromLatin1(kCountLabels[k]));
    setCounts(StatusCounts{});
}

void StatusPanels::setMode(const QString& text) {
    panels_[kModePanel]->setText(text);
    panels_[kModePanel]->setToolTip(text);
}

void StatusPanels::setCounts(const StatusCounts& c) {
    const int counts[7] = {c.Node, c.Frame, c.Shell, c.Solid, c.Mat, c.Fsec, c.Wsec};
    for (int k = 0; k < 7; ++k)
        panels_[3 + 2 * k]->setText(CountText(counts[k]));
}

} // namespace vandra::gui
