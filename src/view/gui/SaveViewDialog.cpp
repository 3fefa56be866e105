#include "view/gui/SaveViewDialog.h"

#include "app/gui/ProgressRun.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "view/render/ModelRenderer.h"
#include "view/render/MovieExport.h"
#include "view/render/MovieWriter.h"
#include "view/render/PictureWriter.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vandra::gui {
namespace {

constexpr int kDefaultFps = 30;

QSpinBox* NewSpinBox(const char* name, int min, int max, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(min, max);
    return box;
}

} // namespace

SaveViewDialog::SaveViewDialog(Kind kind, const TModel& model, const TViewOptions& options,
                               const TViewState& view, const TResults& results,
                               const TAnimation& animation, std::function<QSize()> viewSize,
                               QWidget* parent)
    : ModelessDialog(parent), kind_(kind), model_(model), options_(options), view_(view),
      results_(results), animation_(animation), viewSize_(std::move(viewSize)) {
    const bool movie = kind == Kind::Movie;
    setWindowTitle(movie ? QStringLiteral("Export animation") : QStringLiteral("Save picture"));
    auto* form = new QFormLayout;
    fileEdit_ = new QLineEdit(this);
    fileEdit_->setObjectName(QStringLiteral("fileEdit"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    const QString filter =
        movie ? QStringLiteral("Movie (*.mp4 *.gif)") : QStringLiteral("Picture (*.png *.svg)");
    connect(browse, &QPushButton::clicked, this, [this, filter] {
        const QString path =
            QFileDialog::getSaveFileName(this, windowTitle(), fileEdit_->text(), filter);
        if (!path.isEmpty()) fileEdit_->setText(path);
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileEdit_);
    fileRow->addWidget(browse);
    form->addRow(movie ? QStringLiteral("File (.mp4, .gif)") : QStringLiteral("File (.png, .svg)"),
                 fileRow);
    widthEdit_ = NewSpinBox("widthEdit", 1, kMaxPictureSide, this);
    heightEdit_ = NewSpinBox("heightEdit", 1, kMaxPictureSide, this);
    form->addRow(QStringLiteral("Width (pixels)"), widthEdit_);
    form->addRow(QStringLiteral("Height (pixels)"), heightEdit_);
    if (movie) {
        fpsEdit_ = NewSpinBox("fpsEdit", kMinMovieFps, kMaxMovieFps, this);
        fpsEdit_->setValue(kDefaultFps);
        form->addRow(QStringLiteral("Frames a second"), fpsEdit_);
        motionBox_ = new QComboBox(this);
        motionBox_->setObjectName(QStringLiteral("motionBox"));
        motionBox_->addItems({QStringLiteral("Every loaded step (Animation)"),
                              QStringLiteral("The deformed shape swinging (a mode)")});
        form->addRow(QStringLiteral("Motion"), motionBox_);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
}

void SaveViewDialog::load() {
    const QSize size = viewSize_();
    widthEdit_->setValue(size.width());
    heightEdit_->setValue(size.height());
    if (motionBox_ != nullptr) motionBox_->setCurrentIndex(results_.History.Steps > 0 ? 0 : 1);
}

void SaveViewDialog::apply() {
    const std::string path = QFile::encodeName(fileEdit_->text()).toStdString();
    if (path.empty()) throw UsageError("Give the name of the file to write");
    const int w = widthEdit_->value(), h = heightEdit_->value();
    const QSize shown = viewSize_();
    TViewState view = view_;
    FitViewToSize(view, shown.width(), shown.height(), w, h);
    if (kind_ == Kind::Picture) {
        // Drawn and encoded on a worker; the temporary file is made first, so that an unwritable
        // place is refused before the work, and removed by a cancel with the target untouched.
        const Picture picture = ModelViewPicture(model_, options_, view, 0, results_, w, h,
                                                 fileEdit_->text().toStdString());
        PictureFormatOf(path);
        AtomicOutput output(path);
        QByteArray bytes;
        if (!RunWithProgress(this, windowTitle(), [&](Progress& progress) {
                bytes = PictureBytes(path, picture, &progress);
            }))
            return;
        output.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        output.Commit();
        return;
    }
    const bool history = motionBox_->currentIndex() == 0;
    if (history) view.DisplacementScale = animation_.AnimScale;
    const MovieScene scene{model_, options_, view, results_,
                           history ? MovieMotion::History : MovieMotion::ModeShape};
    const int fps = fpsEdit_->value();
    RunWithProgress(this, windowTitle(),
                    [&](Progress& progress) { ExportMovie(path, w, h, fps, scene, &progress); });
}

} // namespace vandra::gui
