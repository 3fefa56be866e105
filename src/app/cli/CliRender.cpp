// vandra-cli render FILE.s2k -o OUT.png [--size WxH] [--view xy|xz|yz] [--set NAME=VALUE]...
// [--dir RUN (--step N | --mode M) [--scale S] [--section axial|kz|ky]]: imports the model,
// applies the assignments in order, sets the plane view and draws what the model view shows after
// zoom all; with --dir, the results loaded as the Deformation Shape dialog loads them and drawn as
// the view draws them after its OK (the scale S, default 1; the colour range found).
#include "app/cli/CliResultOptions.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/ShownText.h"
#include "view/Camera.h"

#ifdef VANDRA_HAVE_RENDER
#include "view/render/ModelRenderer.h"
#include "view/render/PictureWriter.h"

#include <QGuiApplication>
#include <QImage>
#endif

#include <QCommandLineParser>

#include <stdexcept>
#include <string>

namespace vandra::cli {
namespace {

constexpr int kDefaultWidth = 1208;
constexpr int kDefaultHeight = 729;
constexpr int kMaxSide = 16384;

struct ImageSize {
    int W = kDefaultWidth, H = kDefaultHeight;
};

ImageSize ParseSize(const QString& text) {
    const qsizetype x = text.indexOf(QLatin1Char('x'));
    if (x < 0)
        throw UsageError("--size takes WxH, for example 1208x729, not " +
                         text::ShownToken(Local(text)));
    const auto w = parse::TryInteger(Local(text.left(x)));
    const auto h = parse::TryInteger(Local(text.mid(x + 1)));
    if (!w || !h)
        throw UsageError("--size takes WxH, for example 1208x729, not " +
                         text::ShownToken(Local(text)));
    const ImageSize size{*w, *h};
    if (size.W < 1 || size.H < 1 || size.W > kMaxSide || size.H > kMaxSide)
        throw UsageError("--size " + Local(text) + ": each side must lie between 1 and 16384");
    return size;
}

PlaneView ParseView(const QString& text) {
    if (text == "xy") return PlaneView::XY;
    if (text == "xz") return PlaneView::XZ;
    if (text == "yz") return PlaneView::YZ;
    throw UsageError("--view takes xy, xz or yz, not " + text::ShownToken(Local(text)));
}

} // namespace

int CommandRender(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the picture to FILE.png.",
                                    "FILE");
    const QCommandLineOption size("size", "Image size in pixels (default 1208x729).", "WxH");
    const QCommandLineOption view("view", "Plane view: xy (default), xz or yz.", "PLANE");
    const QCommandLineOption set("set", "Assign a setting or a section field before drawing.",
                                 "NAME=VALUE");
    parser.addOption(output);
    parser.addOption(size);
    parser.addOption(view);
    parser.addOption(set);
    const ResultOptions resultOptions;
    resultOptions.addTo(parser);
    const QCommandLineOption scale("scale", "Displacement scale of the results (default 1).", "S");
    parser.addOption(scale);
    const std::string usage = "render takes one FILE.s2k -o OUT.png [--size WxH] "
                              "[--view xy|xz|yz] [--set NAME=VALUE]... [--dir RUN (--step N | "
                              "--mode M) [--scale S] [--section axial|kz|ky]]";
    const QString file = ParseModelFile(parser, args, "render", usage);
    if (!parser.isSet(output)) throw UsageError(usage);
    const ImageSize imageSize = parser.isSet(size) ? ParseSize(parser.value(size)) : ImageSize();
    const PlaneView plane = parser.isSet(view) ? ParseView(parser.value(view)) : PlaneView::XY;
    const ResultRequest request = ParseResultRequest(parser, resultOptions, false);
    if (parser.isSet(scale) && request.folder.empty()) throw UsageError("--scale needs --dir RUN");
    const double displacementScale = parser.isSet(scale) ? FiniteOption(parser, "scale") : 1.0;

#ifdef VANDRA_HAVE_RENDER
    Document doc;
    TViewOptions options;
    const std::vector<ReadInput> inputs = ImportModel(file, doc, &options);
    RefuseOutputOverInputs(parser.value(output), inputs);
    AssignSettings(doc, options, parser.values(set));
    LoadResults(doc, request);

    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw std::logic_error("render needs the GUI application that main() makes for it");
    TViewState camera;
    SetPlaneView(camera, plane);
    QImage image(imageSize.W, imageSize.H, QImage::Format_RGB32);
    ZoomAll(doc.model(), camera, imageSize.W, imageSize.H);
    if (!request.folder.empty()) camera.DisplacementScale = displacementScale;
    RedrawModel(image, doc.model(), options, camera, 0, doc.results());

    const QByteArray png = EncodePng(Local(parser.value(output)), image);
    WriteOutputFile(parser.value(output),
                    std::string_view(png.constData(), static_cast<size_t>(png.size())));
    return 0;
#else
    throw UsageError("render is not available: this vandra-cli was built without the renderer");
#endif
}

} // namespace vandra::cli
