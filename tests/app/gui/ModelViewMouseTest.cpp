// The drawing area wired to the mouse state machine (its steps and the rotate drag are core
// tests): a pan drag, cancelling with the right button, picking a frame, the wheel and the image
// following the widget's size.
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "sections/gui/FramePropertiesDialog.h"
#include "view/gui/ModelViewWidget.h"

#include <QAction>
#include <QLabel>
#include <QWheelEvent>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;

namespace {

const QColor kHighlight(255, 255, 0);

QString ModeText(const MainWindow& w) {
    return w.findChild<QLabel*>(QStringLiteral("statusPanel1"))->text();
}

} // namespace

class ModelViewMouseTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        SetErrorBoxHandler([](const QString&, const QString& text) { QFAIL(qPrintable(text)); });
        window_ = std::make_unique<MainWindow>();
        QVERIFY(Exposed(*window_));
        window_->importModel(vandra::testing::kExample);
        view_ = window_->modelView();
    }

    void cleanup() {
        window_.reset();
        SetErrorBoxHandler(nullptr);
    }

    void panDragFollowsThePointerAndStaysArmed() {
        window_->action(Command::Pan)->trigger();
        QCOMPARE(ModeText(*window_), QStringLiteral("Pan"));
        // Joint 1 where the view last drew it.
        const auto node = [this] {
            const TScreenPoint& p = view_->projection().Nodes[1];
            return QPoint(p.X, p.Y);
        };
        const QPoint start = node();

        QTest::mousePress(view_, Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(window_->interaction().MouseMode, int(kPanning));
        QTest::mouseMove(view_, QPoint(230, 190));
        QCOMPARE(node(), start + QPoint(30, -10));
        QTest::mouseRelease(view_, Qt::LeftButton, {}, QPoint(240, 190));
        QCOMPARE(node(), start + QPoint(40, -10));
        QCOMPARE(window_->interaction().MouseMode, int(kPanArmed));
        QCOMPARE(ModeText(*window_), QStringLiteral("Pan"));
        // The node's support square is drawn where the node now is.
        QVERIFY(view_->image().pixelColor(node()) != QColor(Qt::white));

        // Still armed: the next press starts a new drag.
        QTest::mousePress(view_, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseRelease(view_, Qt::LeftButton, {}, QPoint(90, 100));
        QCOMPARE(node(), start + QPoint(30, -10));
    }

    void rightButtonCancelsAndNothingMoves() {
        for (Command mode : {Command::Pan, Command::Rotate}) {
            window_->action(mode)->trigger();
            const TViewState before = window_->viewState();
            QTest::mousePress(view_, Qt::RightButton, {}, QPoint(200, 200));
            QCOMPARE(window_->interaction().MouseMode, int(kMouseNone));
            QCOMPARE(ModeText(*window_), QStringLiteral("None"));
            QTest::mouseMove(view_, QPoint(300, 260));
            QTest::mouseRelease(view_, Qt::RightButton, {}, QPoint(300, 260));
            const TViewState& v = window_->viewState();
            QVERIFY(v.PanU == before.PanU && v.PanV == before.PanV &&
                    v.PlanAngle == before.PlanAngle && v.TiltAngle == before.TiltAngle);
        }
        // Idle keeps the text and the mouse does nothing.
        window_->action(Command::Idle)->trigger();
        QCOMPARE(window_->interaction().MouseMode, int(kIdle));
        QCOMPARE(ModeText(*window_), QStringLiteral("None"));
    }

    void pickOpensFrameProperties() {
        FramePropertiesDialog* dialog = window_->framePropertiesDialog();
        window_->action(Command::Select)->trigger();
        QCOMPARE(ModeText(*window_), QStringLiteral("Select Elem"));

        // A miss selects nothing and opens nothing.
        QTest::mousePress(view_, Qt::LeftButton, {}, QPoint(3, view_->height() - 3));
        QCOMPARE(window_->interaction().SelectedFrame, 0);
        QVERIFY(!dialog->isVisible());

        // Frame 29 (joints 19 and 8) has its midpoint alone in the plan view.
        const TFrameScreen& frame = view_->projection().Frames[29];
        const QPoint mid(frame.Mid.X, frame.Mid.Y);
        const QPoint onLine(frame.EndI.X, frame.EndI.Y); // clear of the rigid frame's red dot
        QVERIFY(view_->image().pixelColor(onLine) != kHighlight);
        QTest::mouseClick(view_, Qt::LeftButton, {}, mid + QPoint(-5, 4));
        QCOMPARE(window_->interaction().SelectedFrame, 29);
        QVERIFY(dialog->isVisible());
        QCOMPARE(view_->image().pixelColor(onLine), kHighlight);

        // Closing the dialog ends the selection and redraws without the highlight.
        dialog->close();
        QCOMPARE(window_->interaction().SelectedFrame, 0);
        QVERIFY(view_->image().pixelColor(onLine) != kHighlight);

        // A right click on a midpoint picks, opens the dialog, then leaves select mode.
        QTest::mousePress(view_, Qt::RightButton, {}, mid);
        QCOMPARE(window_->interaction().SelectedFrame, 29);
        QVERIFY(dialog->isVisible());
        QCOMPARE(window_->interaction().MouseMode, int(kMouseNone));
        QCOMPARE(ModeText(*window_), QStringLiteral("None"));
    }

    void wheelZoomsByNotchesAndPassesTheEventOn() {
        const double scale = window_->viewState().ViewScale;
        // The drawing area leaves wheel events unhandled, so the window system's events reach the
        // main window; a synthesized event does not propagate, so it is sent there directly.
        const QPointF at(window_->width() / 2.0, window_->height() / 2.0);
        const auto wheel = [&](int delta) {
            QWheelEvent event(at, window_->mapToGlobal(at), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(window_.get(), &event);
            return event.isAccepted();
        };
        // Delta and ViewScale after it relative to the start: one notch up zooms out, two down
        // zoom in, half a notch waits for its other half.
        const std::pair<int, double> steps[] = {
            {120, 1 / 0.9}, {-240, 0.9}, {60, 0.9}, {60, 1.0}, {-360, 0.9 * 0.9 * 0.9}};
        for (const auto& [delta, factor] : steps) {
            QVERIFY(!wheel(delta));
            QVERIFY2(qAbs(window_->viewState().ViewScale - scale * factor) < 1e-9 * scale,
                     qPrintable(QString::number(window_->viewState().ViewScale / scale)));
        }
    }

    void imageFollowsTheWidgetSize() {
        for (const QSize size : {QSize(700, 500), QSize(1100, 800)}) {
            window_->resize(size);
            QTRY_COMPARE(view_->image().size(), view_->size());
        }
    }

private:
    std::unique_ptr<MainWindow> window_;
    ModelViewWidget* view_ = nullptr;
};

QTEST_MAIN(ModelViewMouseTest)
#include "ModelViewMouseTest.moc"
