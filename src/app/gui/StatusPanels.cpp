#include "app/gui/StatusPanels.h"

#include "model/NumberText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace vandra::gui {
namespace {

constexpr int kFirstPanelWidth = 80;
constexpr int kPanelWidth = 50;
constexpr double kSmallestModeFont = 6.0;

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
    // "Rotate View" and "Select Elem" are wider than the panel at the normal font: the panel keeps
    // its width and the text is set smaller until it fits.
    QLabel* label = panels_[kModePanel];
    QFont font = label->parentWidget() ? label->parentWidget()->font() : label->font();
    const int room = label->contentsRect().width() - 2 * label->indent();
    while (font.pointSizeF() > kSmallestModeFont &&
           QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    label->setText(text);
    label->setToolTip(text);
}

void StatusPanels::setCounts(const StatusCounts& c) {
    const int counts[7] = {c.Node, c.Frame, c.Shell, c.Solid, c.Mat, c.Fsec, c.Wsec};
    for (int k = 0; k < 7; ++k)
        panels_[3 + 2 * k]->setText(CountText(counts[k]));
}

} // namespace vandra::gui
