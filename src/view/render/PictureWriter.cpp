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

QByteArray EncodePng(const std::string& path, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw InputError("Cannot write file \"" + path +
                         "\". The picture could not be encoded "
                         "as PNG");
    return bytes;
}

void WritePng(const std::string& path, const QImage& image) {
    CheckPictureSize("picture", image.width(), image.height());
    WriteFileAtomically(path, View(EncodePng(path, image)));
}

void WriteSvg(const std::string& path, int width, int height, const PaintFunction& paint,
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
    WriteFileAtomically(path, View(bytes));
}

void WriteCsv(const std::string& path, std::span<const CsvColumn> columns) {
    WriteFileAtomically(path, CsvText(columns));
}

void SavePicture(const std::string& path, const Picture& picture) {
    switch (PictureFormatOf(path)) {
    case PictureFormat::Png: {
        CheckPictureSize("picture", picture.Width, picture.Height);
        QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            picture.Paint(painter);
        }
        WritePng(path, image);
        return;
    }
    case PictureFormat::Svg:
        WriteSvg(path, picture.Width, picture.Height, picture.Paint, picture.Title);
        return;
    case PictureFormat::Csv:
        if (picture.Data.empty())
            throw UsageError("There is no data to write as CSV to \"" + path + "\"");
        WriteCsv(path, picture.Data);
        return;
    }
}

} // namespace vandra
