#include "sections/gui/SectionAnalysisWindow.h"

#include "app/gui/ErrorBox.h"
#include "app/gui/SolverLocator.h"
#include "app/run/SectionRun.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/gui/HistoryPlot.h"
#include "sections/ScriptSection.h"
#include "view/render/PictureWriter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace vandra::gui {
namespace {

constexpr int kPictureWidth = 1000, kPictureHeight = 420;
// An elastic section's line is drawn up to the curvature that strains its outermost fiber this
// much, when no curvature is typed.
constexpr double kElasticLineStrain = 0.002;

QString Text(std::string_view s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

QString Number(double v) {
    return Text(text::FormatGeneral(v));
}

// Four significant digits, for reading.
QString Short(double v) {
    return Number(parse::Float(text::FormatE(v, 4)));
}

std::string Typed(const QLineEdit* edit) {
    return edit->text().trimmed().toLocal8Bit().toStdString();
}

QString MarkLine(const CurveMark& mark) {
    return QStringLiteral("%1: curvature %2, moment %3")
        .arg(Text(CurveMarkName(mark.kind)), Short(mark.curvature), Short(mark.moment));
}

} // namespace

SectionAnalysisWindow::SectionAnalysisWindow(const TModel& model, const TSettings& settings,
                                             QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), settings_(settings), run_(new SectionRun(this)) {
    setObjectName(QStringLiteral("sectionAnalysisWindow"));
    setWindowTitle(QStringLiteral("Section analysis"));

    sectionLabel_ = new QLabel(this);
    sectionLabel_->setObjectName(QStringLiteral("sectionNameLabel"));
    axialEdit_ = new QLineEdit(QStringLiteral("0"), this);
    axialEdit_->setObjectName(QStringLiteral("axialLoadEdit"));
    axialEdit_->setToolTip(QStringLiteral("The axial load, positive in tension"));
    axisCombo_ = new QComboBox(this);
    axisCombo_->setObjectName(QStringLiteral("bendingAxisCombo"));
    axisCombo_->addItems({QStringLiteral("y"), QStringLiteral("z")});
    curvatureEdit_ = new QLineEdit(this);
    curvatureEdit_->setObjectName(QStringLiteral("maxCurvatureEdit"));
    curvatureEdit_->setPlaceholderText(QStringLiteral("to the first strain limit"));
    runButton_ = new QPushButton(QStringLiteral("Run"), this);
    runButton_->setObjectName(QStringLiteral("runButton"));
    stopButton_ = new QPushButton(QStringLiteral("Stop"), this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    stopButton_->setEnabled(false);
    curvePlot_ = new HistoryPlot(this);
    curvePlot_->setObjectName(QStringLiteral("curvePlot"));
    interactionPlot_ = new HistoryPlot(this);
    interactionPlot_->setObjectName(QStringLiteral("interactionPlot"));
    marksList_ = new QListWidget(this);
    marksList_->setObjectName(QStringLiteral("marksList"));
    marksList_->setMaximumHeight(80);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setWordWrap(true);
    statusLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    output_ = new QPlainTextEdit(this);
    output_->setObjectName(QStringLiteral("solverOutput"));
    output_->setReadOnly(true);
    output_->setMaximumHeight(110);
    output_->hide();
    csvButton_ = new QPushButton(QStringLiteral("Export CSV..."), this);
    csvButton_->setObjectName(QStringLiteral("exportCsvButton"));
    csvButton_->setEnabled(false);
    auto* png = new QPushButton(QStringLiteral("Export PNG..."), this);
    png->setObjectName(QStringLiteral("exportPngButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(sectionLabel_);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("Axial load P"), this));
    top->addWidget(axialEdit_);
    top->addWidget(new QLabel(QStringLiteral("Bending about"), this));
    top->addWidget(axisCombo_);
    top->addWidget(new QLabel(QStringLiteral("Curvature to reach"), this));
    top->addWidget(curvatureEdit_);
    top->addWidget(runButton_);
    top->addWidget(stopButton_);
    auto* plots = new QHBoxLayout;
    plots->addWidget(curvePlot_, 1);
    plots->addWidget(interactionPlot_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(statusLabel_, 1);
    bottom->addWidget(csvButton_);
    bottom->addWidget(png);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(plots, 1);
    layout->addWidget(marksList_);
    layout->addWidget(output_);
    layout->addLayout(bottom);
    resize(1000, 600);

    chooseSave_ = [](QWidget* p, const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(p, caption, QString(), filter);
    };
    connect(runButton_, &QPushButton::clicked, this, &SectionAnalysisWindow::run);
    connect(stopButton_, &QPushButton::clicked, run_, &SectionRun::stop);
    connect(axisCombo_, &QComboBox::currentIndexChanged, this, [this] {
        showDiagram();
        showCurve();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(csvButton_, &QPushButton::clicked, this, [this] {
        const QString path =
            chooseSave_(this, QStringLiteral("Export CSV"), QStringLiteral("CSV file (*.csv)"));
        if (!path.isEmpty()) guarded([&] { exportCsv(path); });
    });
    connect(png, &QPushButton::clicked, this, [this] {
        const QString path =
            chooseSave_(this, QStringLiteral("Export PNG"), QStringLiteral("PNG picture (*.png)"));
        if (!path.isEmpty()) guarded([&] { exportPng(path); });
    });
    connect(run_, &SectionRun::finished, this, [this] {
        runButton_->setEnabled(true);
        stopButton_->setEnabled(false);
        const MomentCurvatureCurve& curve = run_->curve();
        if (run_->error().isEmpty())
            showStatus(
                QStringLiteral("The solver pushed the section to curvature %1 in %2 steps.")
                    .arg(curve.states.empty()
                             ? QStringLiteral("0")
                             : Short(CurvatureOf(curve.states.back(), run_->plan().request.axis)))
                    .arg(static_cast<qsizetype>(curve.states.size()) - 1));
        else
            showStatus(QStringLiteral("The run did not end: ") + run_->error(), run_->console());
        showCurve();
        showDiagram();
        emit runFinished();
    });
}

template <typename Work> void SectionAnalysisWindow::guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    }
}

void SectionAnalysisWindow::showSection(int s) {
    if (s < 1 || s > CountOf(model_.SectionCount)) return;
    if (run_->isRunning()) run_->stop();
    section_ = s;
    const TSECTION& sec = model_.Sections[static_cast<size_t>(s)];
    sectionLabel_->setText(QStringLiteral("Frame section ") + Text(sec.Name));
    showStatus(HasElasticSection(sec.FrameType)
                   ? QStringLiteral("Frame section %1 is elastic: its elements have no fibers, so "
                                    "it has no moment-curvature curve and no interaction diagram; "
                                    "the line is its stiffness E I.")
                         .arg(Text(sec.Name))
                   : QString());
    showCurve();
    showDiagram();
}

void SectionAnalysisWindow::forget() {
    section_ = 0; // before the run stops: its end redraws, and the section is no more
    if (run_->isRunning()) run_->stop();
    sectionLabel_->clear();
    showStatus(QString());
    showCurve();
    showDiagram();
    close();
}

BendingAxis SectionAnalysisWindow::chosenAxis() const {
    return axisCombo_->currentIndex() == 0 ? BendingAxis::Y : BendingAxis::Z;
}

void SectionAnalysisWindow::showStatus(const QString& text, const QString& output) {
    statusLabel_->setText(text);
    output_->setPlainText(output);
    output_->setVisible(!output.isEmpty());
}

void SectionAnalysisWindow::run() {
    if (section_ == 0) return;
    MomentCurvatureRequest request;
    request.section = section_;
    request.axis = chosenAxis();
    MomentCurvaturePlan plan;
    try {
        request.axial = parse::Float(Typed(axialEdit_));
        if (!Typed(curvatureEdit_).empty())
            request.maxCurvature = parse::Float(Typed(curvatureEdit_));
        plan = PlanMomentCurvature(model_, settings_, request);
    } catch (const std::exception& e) {
        showStatus(QString::fromLocal8Bit(e.what()));
        return;
    }
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString solver = solver_.isEmpty() ? FindSolver(programDir) : solver_;
    if (solver.isEmpty()) {
        showStatus(SolverNotFoundMessage(programDir));
        return;
    }
    runButton_->setEnabled(false);
    stopButton_->setEnabled(true);
    csvButton_->setEnabled(false);
    marksList_->clear();
    showStatus(QStringLiteral("Running the solver on frame section %1...").arg(Text(plan.name)));
    run_->start(solver, std::move(plan));
}

void SectionAnalysisWindow::showCurve() {
    const BendingAxis axis = chosenAxis();
    const QString about = axisCombo_->currentText();
    PlotCurve plot;
    plot.title = QStringLiteral("Moment-curvature about %1").arg(about);
    plot.xLabel = QStringLiteral("curvature about %1").arg(about);
    plot.yLabel = QStringLiteral("moment about %1").arg(about);
    marksList_->clear();
    const MomentCurvaturePlan& plan = run_->plan();
    const bool ours = !run_->isRunning() && plan.request.section == section_ &&
                      plan.request.axis == axis && !run_->curve().states.empty();
    csvButton_->setEnabled(ours);
    if (ours) {
        const MomentCurvatureCurve& curve = run_->curve();
        for (const SectionState& s : curve.states) {
            plot.x.push_back(CurvatureOf(s, axis));
            plot.y.push_back(MomentOf(s, axis));
        }
        plot.title += QStringLiteral(" at P = %1").arg(Number(plan.request.axial));
        for (const CurveMark& mark : curve.marks) {
            plot.marks.push_back({mark.curvature, mark.moment, Text(CurveMarkName(mark.kind))});
            marksList_->addItem(MarkLine(mark));
        }
    } else if (section_ > 0 &&
               HasElasticSection(model_.Sections[static_cast<size_t>(section_)].FrameType)) {
        const TSECTION& sec = model_.Sections[static_cast<size_t>(section_)];
        const double stiffness = ElasticBendingStiffness(model_, section_, axis);
        const double depth = sec.T[axis == BendingAxis::Y ? 1 : 2];
        double reach = depth > 0 ? 2 * kElasticLineStrain / depth : 1;
        if (const auto typed = parse::TryFloat(Typed(curvatureEdit_)); typed && *typed > 0)
            reach = *typed;
        plot.x = {0, reach};
        plot.y = {0, stiffness * reach};
        plot.title = QStringLiteral("Elastic about %1: E I = %2, no fibers, no curve")
                         .arg(about, Short(stiffness));
    }
    curvePlot_->setCurve(std::move(plot));
}

void SectionAnalysisWindow::showDiagram() {
    const BendingAxis axis = chosenAxis();
    const QString about = axisCombo_->currentText();
    PlotCurve plot;
    plot.title = QStringLiteral("Interaction diagram about %1").arg(about);
    plot.xLabel = QStringLiteral("moment about %1").arg(about);
    plot.yLabel = QStringLiteral("axial force P (tension positive)");
    if (section_ > 0) {
        try {
            const AnalysisSection section = AnalysisSectionOf(
                model_, section_, ScriptSectionOf(model_, section_, settings_.RebarMat).Fibers);
            for (const InteractionPoint& p : ComputeInteraction(section, axis).points) {
                plot.x.push_back(axis == BendingAxis::Y ? p.force.My : p.force.Mz);
                plot.y.push_back(p.force.P);
            }
            if (!plot.x.empty()) {
                plot.x.push_back(plot.x.front());
                plot.y.push_back(plot.y.front());
            }
        } catch (const std::exception& e) {
            plot.title = QStringLiteral("No interaction diagram");
            if (statusLabel_->text().isEmpty()) showStatus(QString::fromLocal8Bit(e.what()));
        }
    }
    // The peak of the last run of this section about this axis, at its axial load.
    const MomentCurvaturePlan& plan = run_->plan();
    if (!run_->isRunning() && plan.request.section == section_ && plan.request.axis == axis)
        for (const CurveMark& mark : run_->curve().marks)
            if (mark.kind == CurveMarkKind::PeakMoment)
                plot.marks.push_back({mark.moment, plan.request.axial, QStringLiteral("run peak")});
    interactionPlot_->setCurve(std::move(plot));
}

void SectionAnalysisWindow::exportCsv(const QString& path) const {
    WriteFileAtomically(QFile::encodeName(path).toStdString(),
                        MomentCurvatureCsv(run_->plan(), run_->curve()));
}

QImage SectionAnalysisWindow::picture() const {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    const int half = kPictureWidth / 2;
    DrawHistoryPlot(painter, QRect(0, 0, half, kPictureHeight), curvePlot_->curve());
    painter.setClipping(false);
    DrawHistoryPlot(painter, QRect(half, 0, kPictureWidth - half, kPictureHeight),
                    interactionPlot_->curve());
    return image;
}

void SectionAnalysisWindow::exportPng(const QString& path) const {
    WritePng(QFile::encodeName(path).toStdString(), picture());
}

} // namespace vandra::gui
