// The drawing area of the main window: shows the retained model image, keeps it as large as the
// widget, and feeds mouse presses, moves and releases to the view's mouse state machine.
#pragma once

#include "model/Model.h"
#include "post/Results.h"
#include "view/Camera.h"
#include "view/Interaction.h"
#include "view/ViewOptions.h"

#include <QImage>
#include <QWidget>

namespace vandra::gui {

class ModelViewWidget : public QWidget {
    Q_OBJECT
public:
    ModelViewWidget(const TModel& model, const TViewOptions& options, TViewState& view,
                    TInteraction& interaction, const TResults& results, QWidget* parent = nullptr);

    // Repaints the whole image from the model and the loaded results and shows it.
    void redraw();
    // Draws one step of the displacement history (the animation's reduced drawing).
    void drawAnimationStep(const TNodeHistory& history, int step);
    // Fits the model into the image, then redraws.
    void zoomAll();

    const QImage& image() const { return image_; }
    int imageWidth() const { return image_.width(); }
    int imageHeight() const { return image_.height(); }
    // Where the last drawing put the model's joints and frames (empty before the first).
    const TProjection& projection() const { return projection_; }

signals:
    // Panel 1 of the status bar must show text.
    void modeTextChanged(const QString& text);
    // A pick in select mode hit a frame (Interaction's SelectedFrame).
    void framePicked();
    // The left button went down at (x, y) (before the mouse mode handles it).
    void leftPressed(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void apply(const MouseOutcome& outcome);

    const TModel& model_;
    const TViewOptions& options_;
    TViewState& view_;
    TInteraction& interaction_;
    const TResults& results_;
    QImage image_;
    TProjection projection_;
};

} // namespace vandra::gui
