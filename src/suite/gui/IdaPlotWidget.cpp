#include "suite/gui/IdaPlotWidget.h"

#include "view/render/IdaPlot.h"

#include <QPainter>

namespace vandra::gui {

IdaPlotWidget::IdaPlotWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("idaPlot"));
    setMinimumSize(480, 320);
}

void IdaPlotWidget::setTable(motion::IdaTable table) {
    table_ = std::move(table);
    update();
}

void IdaPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    DrawIdaPlot(painter, rect(), table_);
}

} // namespace vandra::gui
