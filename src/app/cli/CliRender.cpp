// vandra-cli render FILE.s2k (-o OUT.png|OUT.svg | --animate OUT.mp4|OUT.gif [--fps N])
// [--size WxH] [--view xy|xz|yz] [--set NAME=VALUE]...
// [--dir RUN (--step N | --envelope | --mode M) [--scale S] [--section axial|kz|ky]
// [--forces N|Vy|Vz|T|My|Mz] [--reactions]]: imports the model, applies the assignments in order,
// sets the plane view and draws what the model view shows after zoom all; with --dir, the results
// loaded as the Deformation Shape dialog loads them and drawn as the view draws them after its OK
// (the scale S, by default the one that draws the largest displacement at a tenth of the model's
// size; the colour range found; of the envelope, each joint displaced by its extreme of larger
// magnitude); --forces adds the diagram of a member force
// and --reactions the reactions' arrows, of the step or of the envelope.
// --animate writes a movie of every step of the run's history, or with --mode M of the mode shape
// swinging through one period; each frame is the picture -o gives for that step.
#include "app/cli/CliProgress.h"
#include "app/cli/CliResultOptions.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "post/DisplacementScale.h"
#include "post/ResultLoading.h"
#include "model/ShownText.h"
#include "view/Camera.h"

#ifdef VANDRA_HAVE_RENDER
#include "post/RecorderReaders.h"
#include "view/render/ModelRenderer.h"
#include "view/render/MovieExport.h"
#include "view/render/MovieWriter.h"
#include "view/render/PictureWriter.h"

#include <QGuiApplication>
#include <QImage>
#endif

#include <QCommandLineParser>

#include <stdexcept>
#include <string>

namespace vandra::cli {
namespace {

#ifdef VANDRA_HAVE_RENDER
constexpr int kDefaultWidth = 1208;
constexpr int kDefaultHeight = 729;
constexpr int kDefaultFps = 30;

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
    CheckPictureSize("picture", *w, *h);
    return ImageSize{*w, *h};
}
#endif

PlaneView ParseView(const QString& text) {
    if (text == "xy") return PlaneView::XY;
    if (text == "xz") return PlaneView::XZ;
    if (text == "yz") return PlaneView::YZ;
    throw UsageError("--view takes xy, xz or yz, not " + text::ShownToken(Local(text)));
}

} // namespace

int CommandRender(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"},
                                    "Write the picture to FILE.png or FILE.svg.", "FILE");
    const QCommandLineOption animate("animate",
                                     "Write a movie of every step (or of the mode of --mode) to "
                                     "FILE.mp4 or FILE.gif.",
                                     "FILE");
    const QCommandLineOption fps("fps", "Frames a second of the movie (default 30).", "N");
    const QCommandLineOption size("size", "Image size in pixels (default 1208x729).", "WxH");
    const QCommandLineOption view("view", "Plane view: xy (default), xz or yz.", "PLANE");
    const QCommandLineOption set("set", "Assign a setting or a section field before drawing.",
                                 "NAME=VALUE");
    parser.addOption(output);
    parser.addOption(animate);
    parser.addOption(fps);
    parser.addOption(size);
    parser.addOption(view);
    parser.addOption(set);
    const ResultOptions resultOptions;
    resultOptions.addTo(parser);
    const QCommandLineOption scale(
        "scale", "Displacement scale of the results (default: the largest at a tenth of the model).",
        "S");
    parser.addOption(scale);
    const QCommandLineOption forces("forces", "Draw the diagram of a member force.",
                                    "N|Vy|Vz|T|My|Mz");
    const QCommandLineOption reactions("reactions", "Draw the reactions as arrows.");
    parser.addOption(forces);
    parser.addOption(reactions);
    const std::string usage =
        "render takes one FILE.s2k (-o OUT.png|OUT.svg | --animate OUT.mp4|OUT.gif [--fps N]) "
        "[--size WxH] [--view xy|xz|yz] [--set NAME=VALUE]... [--dir RUN (--step N | --envelope | "
        "--mode M) [--scale S] [--section axial|kz|ky] [--forces N|Vy|Vz|T|My|Mz] [--reactions]]";
    const QString file = ParseModelFile(parser, args, "render", usage);
    const bool movie = parser.isSet(animate);
    if (movie == parser.isSet(output)) throw UsageError(usage);
    if (parser.isSet(fps) && !movie) throw UsageError("--fps needs --animate FILE");
    const PlaneView plane = parser.isSet(view) ? ParseView(parser.value(view)) : PlaneView::XY;
    const ResultRequest request = ParseResultRequest(parser, resultOptions, false);
    if (parser.isSet(scale) && request.folder.empty()) throw UsageError("--scale needs --dir RUN");
    if (movie && request.folder.empty())
        throw UsageError("--animate needs --dir RUN: the run whose steps or mode it shows");
    if (movie && (parser.isSet(resultOptions.step) || parser.isSet(resultOptions.section)))
        throw UsageError("--animate shows every step: --step and --section draw one");
    const double givenScale = parser.isSet(scale) ? FiniteOption(parser, "scale") : 0;
    int diagram = -1;
    if (parser.isSet(forces)) {
        diagram = ForceComponentNamed(Local(parser.value(forces)));
        if (diagram < 0)
            throw UsageError("--forces takes N, Vy, Vz, T, My or Mz, not '" +
                             Local(parser.value(forces)) + "'");
    }
    if ((diagram >= 0 || parser.isSet(reactions)) && request.folder.empty())
        throw UsageError("--forces and --reactions need --dir RUN");
    if ((diagram >= 0 || parser.isSet(reactions)) && request.modeShape)
        throw UsageError("a mode shape has no member forces or reactions");

#ifdef VANDRA_HAVE_RENDER
    const ImageSize imageSize = parser.isSet(size) ? ParseSize(parser.value(size)) : ImageSize();
    const std::string target = Local(parser.value(movie ? animate : output));
    const int frameRate = parser.isSet(fps) ? IntegerOption(parser, "fps", 1) : kDefaultFps;
    if (movie)
        MovieFormatOf(target);
    else if (PictureFormatOf(target) == PictureFormat::Csv)
        throw UsageError("A picture of the model is written as .png or .svg, not \"" + target +
                         "\"");
    Document doc;
    TViewOptions options;
    const std::vector<ReadInput> inputs = ImportModel(file, doc, &options);
    RefuseOutputOverInputs(FromLocal(target), inputs);
    AssignSettings(doc, options, parser.values(set));
    {
        const ResultReadProgress reading;
        if (movie && !request.modeShape)
            doc.results().History = ReadNodeHistory(doc.model(), request.folder, 0);
        else if (request.envelope)
            LoadNodeEnvelope(doc.results(), doc.model(), request.folder);
        else
            LoadResults(doc, request);
        if (diagram >= 0) {
            LoadFrameForces(doc.results(), doc.model(), doc.settings(), request.folder,
                            request.loadedStep());
            options.Diagram = diagram + 1;
        }
        if (parser.isSet(reactions)) {
            LoadReactions(doc.results(), doc.model(), doc.settings(), request.folder,
                          request.loadedStep());
            options.ShowReactions = true;
        }
    }

    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw std::logic_error("render needs the GUI application that main() makes for it");
    TViewState camera;
    SetPlaneView(camera, plane);
    ZoomAll(doc.model(), camera, imageSize.W, imageSize.H);
    if (!request.folder.empty()) {
        const TResults& r = doc.results();
        const double largest = movie && !request.modeShape
                                   ? LargestDisplacement(doc.model(), r.History)
                                   : LargestDisplacement(doc.model(), r.Disp);
        // Force diagrams and reactions are drawn on the model as it stands: a deformed shape
        // beside them only when a scale is asked for.
        const bool forcesOnly = diagram >= 0 || parser.isSet(reactions);
        camera.DisplacementScale = parser.isSet(scale) ? givenScale
                                   : forcesOnly        ? 0.0
                                                       : AutomaticScale(doc.model(), largest);
    }
    if (movie) {
        const MovieScene scene{doc.model(), options, camera, doc.results(),
                               request.modeShape ? MovieMotion::ModeShape : MovieMotion::History};
        Progress progress;
        const TerminalProgress shown(progress);
        ExportMovie(target, imageSize.W, imageSize.H, frameRate, scene, &progress);
        return 0;
    }
    if (PictureFormatOf(target) == PictureFormat::Svg) {
        SavePicture(target, ModelViewPicture(doc.model(), options, camera, 0, doc.results(),
                                             imageSize.W, imageSize.H, Local(file)));
        return 0;
    }
    QImage image(imageSize.W, imageSize.H, QImage::Format_RGB32);
    RedrawModel(image, doc.model(), options, camera, 0, doc.results());
    WritePng(target, image);
    return 0;
#else
    throw UsageError("render is not available: this vandra-cli was built without the renderer");
#endif
}

} // namespace vandra::cli
