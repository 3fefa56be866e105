#include "view/render/PictureWriter.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

namespace vandra {
namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

} // namespace

void CheckPictureSize(std::string_view what, int width, int height) {
    if (width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide) return;
    throw UsageError(
        text::Format("The %s size must lie between 1 x 1 and %d x %d pixels, not %d x %d",
                     {what, kMaxPictureSide, kMaxPictureSide, width, height}));
}

bool HasExtension(const std::string& path, std::string_view extension) {
    if (path.size() < extension.size()) return false;
    return std::equal(extension.begin(), extension.end(), path.end() - extension.size(),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

PictureFormat PictureFormatOf(const std::string& path) {
    if (HasExtension(path, ".png")) return PictureFormat::Png;
    if (HasExtension(path, ".svg")) return PictureFormat::Svg;
    if (HasExtension(path, ".csv")) return PictureFormat::Csv;
    // A device or a FIFO (written in place, /dev/stdout, a pipe) takes the PNG without a name.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)))
        return PictureFormat::Png;
    throw UsageError("A picture is written as .png, .svg or .csv, not \"" + path + "\"");
}

namespace {

// A buffer that refuses further bytes once the work was cancelled: the PNG encoder stops at its
// next write (an exception must not pass through the encoder's C code).
class CancellableBuffer : public QBuffer {
public:
    CancellableBuffer(QByteArray* bytes, const Progress* progress)
        : QBuffer(bytes), progress_(progress) {}

protected:
    qint64 writeData(const char* data, qint64 size) override {
        if (progress_ != nullptr && progress_->IsCancelled()) return -1;
        return QBuffer::writeData(data, size);
    }

private:
    const Progress* progress_;
};

QByteArray EncodePng(const std::string& path, const QImage& image, const Progress* progress) {
    QByteArray bytes;
    CancellableBuffer buffer(&bytes, progress);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        if (progress != nullptr) progress->Check();
        throw InputError("Cannot write file \"" + path +
                         "\". The picture could not be encoded "
                         "as PNG");
    }
    return bytes;
}

} // namespace

QByteArray EncodePng(const std::string& path, const QImage& image) {
    return EncodePng(path, image, nullptr);
}

void WritePng(const std::string& path, const QImage& image) {
    CheckPictureSize("picture", image.width(), image.height());
    WriteFileAtomically(path, View(EncodePng(path, image)));
}

namespace {

QByteArray SvgBytes(const std::string& path, int width, int height, const PaintFunction& paint,
                    const std::string& title) {
    CheckPictureSize("picture", width, height);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(96);
    svg.setTitle(QString::fromStdString(title));
    svg.setDescription(QStringLiteral("Drawn by VANDRA"));
    {
        QPainter painter(&svg);
        if (!painter.isActive())
            throw InputError("Cannot write file \"" + path + "\". The SVG could not be started");
        paint(painter);
    }
    return bytes;
}

} // namespace

void WriteSvg(const std::string& path, int width, int height, const PaintFunction& paint,
              const std::string& title) {
    WriteFileAtomically(path, View(SvgBytes(path, width, height, paint, title)));
}

void WriteCsv(const std::string& path, std::span<const CsvColumn> columns) {
    WriteFileAtomically(path, CsvText(columns));
}

QByteArray PictureBytes(const std::string& path, const Picture& picture, Progress* progress) {
    switch (PictureFormatOf(path)) {
    case PictureFormat::Png: {
        CheckPictureSize("picture", picture.Width, picture.Height);
        StartProgress(progress, "Drawing the picture", 0);
        QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            picture.Paint(painter);
        }
        if (progress != nullptr) progress->Check();
        StartProgress(progress, "Encoding the PNG", 0);
        return EncodePng(path, image, progress);
    }
    case PictureFormat::Svg:
        StartProgress(progress, "Drawing the SVG", 0);
        return SvgBytes(path, picture.Width, picture.Height, picture.Paint, picture.Title);
    case PictureFormat::Csv: {
        if (picture.Data.empty())
            throw UsageError("There is no data to write as CSV to \"" + path + "\"");
        const std::string csv = CsvText(picture.Data);
        return QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
    }
    }
    return {};
}

void SavePicture(const std::string& path, const Picture& picture) {
    WriteFileAtomically(path, View(PictureBytes(path, picture)));
}

} // namespace vandra
