#include "view/gui/ModelViewWidget.h"

#include "view/render/ModelRenderer.h"

#include <QMouseEvent>
#include <QPainter>

namespace vandra::gui {

ModelViewWidget::ModelViewWidget(const TModel& model, const TViewOptions& options, TViewState& view,
                                 TInteraction& interaction, const TResults& results,
                                 QWidget* parent)
    : QWidget(parent), model_(model), options_(options), view_(view), interaction_(interaction),
      results_(results) {
    setObjectName(QStringLiteral("modelView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(64, 64);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ModelViewWidget::redraw() {
    if (image_.isNull()) {
        projection_ = TProjection(); // nothing is on the screen to pick
        return;
    }
    RedrawModel(image_, model_, options_, view_, interaction_.SelectedFrame, results_, projection_);
    update();
}

void ModelViewWidget::drawAnimationStep(const TNodeHistory& history, int step) {
    if (image_.isNull()) return;
    RedrawAnimationFrame(image_, model_, view_, history, step, projection_);
    update();
}

void ModelViewWidget::zoomAll() {
    if (image_.isNull()) return;
    ZoomAll(model_, view_, image_.width(), image_.height());
    redraw();
}

void ModelViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (image_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, image_);
}

void ModelViewWidget::resizeEvent(QResizeEvent*) {
    if (width() <= 0 || height() <= 0) return;
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    redraw();
}

void ModelViewWidget::mousePressEvent(QMouseEvent* event) {
    if (image_.isNull()) return;
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) emit leftPressed(p.x(), p.y());
    apply(MousePress(interaction_, model_, projection_, p.x(), p.y(),
                     event->button() == Qt::RightButton));
}

void ModelViewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (image_.isNull()) return;
    const QPoint p = event->position().toPoint();
    apply(MouseMove(interaction_, view_, p.x(), p.y(), image_.width(), image_.height()));
}

void ModelViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (image_.isNull()) return;
    const QPoint p = event->position().toPoint();
    apply(MouseRelease(interaction_, view_, p.x(), p.y(), image_.width(), image_.height()));
}

void ModelViewWidget::apply(const MouseOutcome& outcome) {
    if (outcome.showFrameProperties) emit framePicked();
    if (outcome.redraw) redraw();
    if (outcome.setStatus) emit modeTextChanged(QString::fromStdString(outcome.statusText));
}

} // namespace vandra::gui
