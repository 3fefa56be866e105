// Pictures of the model view and the plots, chosen by the file name's extension: PNG (the pixels),
// SVG (the drawing, through Qt SVG) and CSV (a plot's data). Every file is written to a temporary
// file beside the target and renamed over it, so a failure leaves a previous file as it was; a
// device or a FIFO is written directly. See Pictures.md.
#pragma once

#include "model/Progress.h"
#include "post/CsvText.h"

#include <QImage>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace vandra {

constexpr int kMaxPictureSide = 8000;

// UsageError "The <what> size must lie between 1 x 1 and 8000 x 8000 pixels, not <W> x <H>".
void CheckPictureSize(std::string_view what, int width, int height);

enum class PictureFormat { Png, Svg, Csv };

// Whether the file name ends in the extension (".png"), in any case.
bool HasExtension(const std::string& path, std::string_view extension);

// The format a file name asks for: ".png", ".svg" or ".csv", in any case. UsageError
// "A picture is written as .png, .svg or .csv, not "<path>"" otherwise; a device or FIFO without
// one of these takes PNG.
PictureFormat PictureFormatOf(const std::string& path);

// Draws the whole picture, background included, on a painter of the picture's size.
using PaintFunction = std::function<void(QPainter&)>;

// The image as PNG bytes; InputError "Cannot write file "<path>". The picture could not be
// encoded as PNG" when it cannot be encoded.
QByteArray EncodePng(const std::string& path, const QImage& image);

// Writes the image as PNG. UsageError for a size outside 1..8000 pixels, InputError "Cannot write
// file "<path>". <reason>" when it cannot be written.
void WritePng(const std::string& path, const QImage& image);
// Writes what paint draws as an SVG of width x height pixels (at 96 pixels an inch) with the
// given title. Errors as WritePng.
void WriteSvg(const std::string& path, int width, int height, const PaintFunction& paint,
              const std::string& title);
// Writes the columns as CSV (CsvText). InputError when it cannot be written.
void WriteCsv(const std::string& path, std::span<const CsvColumn> columns);

// What a view or a plot hands over to be saved.
struct Picture {
    int Width = 0, Height = 0;
    PaintFunction Paint;
    std::string Title;
    // A plot's data, for CSV; the model view has none.
    std::vector<CsvColumn> Data;
};

// The bytes of the picture in the format its name asks for: PNG (Paint on a white image), SVG or
// CSV. UsageError "There is no data to write as CSV to "<path>"" for a CSV of a picture without
// data. Long work (an 8000 x 8000 PNG of a large model): counts its stages on progress, and a
// cancel throws Cancelled between the drawing and the encoding and while the PNG is encoded.
QByteArray PictureBytes(const std::string& path, const Picture& picture,
                        Progress* progress = nullptr);

// Writes PictureBytes atomically.
void SavePicture(const std::string& path, const Picture& picture);

} // namespace vandra
