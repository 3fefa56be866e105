#include "post/gui/ResultLegend.h"

#include "model/Model.h"

#include <QFont>
#include <QPainter>

namespace vandra::gui {
namespace {

constexpr int kSteps = 6;
constexpr int kScaleBase = 10; // Palette[10 + k], k = 1..6: the result scale of the end circles
constexpr int kMargin = 5;
constexpr int kBarTop = 20;
constexpr int kBarHeight = 15;

} // namespace

QImage MakeResultLegend() {
    QImage image(kLegendWidth, kLegendHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const int cell = (kLegendWidth - 2 * kMargin) / kSteps;
    for (int k = 1; k <= kSteps; ++k) {
        const uint32_t c = Palette[static_cast<size_t>(kScaleBase + k)];
        p.fillRect(kMargin + (k - 1) * cell, kBarTop, cell, kBarHeight,
                   QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)));
    }
    p.setPen(Qt::black);
    p.drawRect(kMargin, kBarTop, kSteps * cell - 1, kBarHeight - 1);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    const QRect above(kMargin, 2, kSteps * cell, kBarTop - 4);
    p.drawText(above, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("min"));
    p.drawText(above, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("max"));
    return image;
}

} // namespace vandra::gui
