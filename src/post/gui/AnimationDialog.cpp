#include "post/gui/AnimationDialog.h"

#include "app/gui/ErrorBox.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/DisplacementScale.h"
#include "post/RecorderReaders.h"
#include "post/gui/ResultsFolder.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace vandra::gui {
namespace {

constexpr double kFastest = 1000; // steps a second

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

double FieldNumber(const QLineEdit* edit) {
    return parse::Float(edit->text().toLocal8Bit().toStdString());
}

QPushButton* Button(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

AnimationDialog::AnimationDialog(const TModel& model, TResults& results, TAnimation& animation,
                                 ResultsFolder& folder, QWidget* parent)
    : QDialog(parent), model_(model), results_(results), animation_(animation), folder_(folder) {
    setObjectName(QStringLiteral("animationDialog"));
    setWindowTitle(QStringLiteral("Animation"));
    setModal(false);

    motionBox_ = new QComboBox(this);
    motionBox_->setObjectName(QStringLiteral("animMotionBox"));
    motionBox_->addItems({QStringLiteral("Every loaded step"),
                          QStringLiteral("The loaded mode shape (one period)")});
    scaleEdit_ = new QLineEdit(QStringLiteral("1"), this);
    scaleEdit_->setObjectName(QStringLiteral("animScaleEdit"));
    speedEdit_ = new QLineEdit(Text(text::FormatGeneral(kDefaultStepsPerSecond)), this);
    speedEdit_->setObjectName(QStringLiteral("animSpeedEdit"));
    QPushButton* load = Button("loadDispButton", "LOAD DISP DATA", this);
    QPushButton* back = Button("stepBackButton", "Step Back", this);
    playButton_ = Button("runStopButton", "Play", this);
    QPushButton* forward = Button("stepForwardButton", "Step Forward", this);
    QPushButton* close = Button("closeButton", "CLOSE", this);
    counterLabel_ = new QLabel(this);
    counterLabel_->setObjectName(QStringLiteral("animCounterLabel"));
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("animationStatusLabel"));
    statusLabel_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Motion"), motionBox_);
    form->addRow(QStringLiteral("Scale"), scaleEdit_);
    form->addRow(QStringLiteral("Speed (steps a second)"), speedEdit_);
    auto* controls = new QHBoxLayout;
    for (QPushButton* b : {back, playButton_, forward})
        controls->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(load);
    layout->addLayout(form);
    layout->addLayout(controls);
    layout->addWidget(counterLabel_);
    layout->addWidget(statusLabel_);
    layout->addWidget(close);

    connect(load, &QPushButton::clicked, this, [this] { guarded([this] { loadHistory(); }); });
    connect(playButton_, &QPushButton::clicked, this, [this] {
        guarded([this] {
            storeFields();
            emit runStopRequested();
        });
    });
    for (const auto& [button, delta] : {std::pair{back, -1}, std::pair{forward, 1}})
        connect(button, &QPushButton::clicked, this, [this, delta = delta] {
            guarded([this, delta] {
                storeFields();
                emit stepRequested(delta);
            });
        });
    connect(scaleEdit_, &QLineEdit::textEdited, this, [this] { scaleTyped_ = true; });
    connect(motionBox_, &QComboBox::currentIndexChanged, this, [this] {
        scaleTyped_ = false;
        showAutomaticScale();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    showFrame(false);
}

template <typename Work> void AnimationDialog::guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    }
}

AnimationMotion AnimationDialog::motion() const {
    return motionBox_->currentIndex() == 0 ? AnimationMotion::History : AnimationMotion::ModeShape;
}

void AnimationDialog::showAutomaticScale() {
    if (scaleTyped_) return;
    const double largest = motion() == AnimationMotion::History
                               ? LargestDisplacement(model_, results_.History)
                               : LargestDisplacement(model_, results_.Disp);
    scaleEdit_->setText(Text(text::FormatGeneral(AutomaticScale(model_, largest))));
}

void AnimationDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showAutomaticScale();
}

void AnimationDialog::loadHistory() {
    const QString folder = folder_.ensure(this);
    if (folder.isEmpty()) return;
    TNodeHistory history;
    if (!ReadResultFiles(this, [&] {
            history = ReadNodeHistory(model_, QFile::encodeName(folder).toStdString(), 0);
        }))
        return statusLabel_->setText(kResultReadCancelled);
    results_.History = std::move(history);
    animation_.Frame = 0;
    motionBox_->setCurrentIndex(0);
    scaleTyped_ = false;
    showAutomaticScale();
    statusLabel_->setText(QStringLiteral("%1 steps of every node loaded.")
                              .arg(Text(text::FormatInt(results_.History.Steps))));
    showFrame(false);
}

void AnimationDialog::storeFields() {
    const double scale = FieldNumber(scaleEdit_);
    const double speed = FieldNumber(speedEdit_);
    if (!(speed > 0 && speed <= kFastest))
        throw InputError("The speed must be above 0 and at most " + text::FormatGeneral(kFastest) +
                         " steps a second, not " + text::FormatGeneral(speed));
    if (animation_.Motion != motion()) animation_.Frame = 0;
    animation_.Motion = motion();
    animation_.AnimScale = scale;
    animation_.StepsPerSecond = speed;
}

void AnimationDialog::showFrame(bool running) {
    playButton_->setText(running ? QStringLiteral("Pause") : QStringLiteral("Play"));
    const int frames = AnimationFrameCount(animation_.Motion, results_.History.Steps,
                                           kModeShapeFrames);
    const auto n = [](int v) { return Text(text::FormatInt(v)); };
    if (frames == 0 || (animation_.Motion == AnimationMotion::ModeShape && results_.Disp.X.empty()))
        counterLabel_->setText(QStringLiteral("Nothing loaded to move"));
    else if (animation_.Motion == AnimationMotion::History)
        counterLabel_->setText(
            QStringLiteral("Step %1 of %2").arg(n(animation_.Frame + 1), n(frames)));
    else
        counterLabel_->setText(QStringLiteral("Mode shape: frame %1 of %2 of one period")
                                   .arg(n(animation_.Frame + 1), n(frames)));
}

QString AnimationDialog::statusText() const {
    return statusLabel_->text();
}

} // namespace vandra::gui
