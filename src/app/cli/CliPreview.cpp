// vandra-cli preview FILE --section NAME -o OUT.png [--set NAME=VALUE]...: the 200 x 200 picture
// of one frame section as the frame section dialog shows it.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/Errors.h"
#include "model/ShownText.h"

#ifdef VANDRA_HAVE_RENDER
#include "sections/render/SectionPreviewPainter.h"
#include "view/render/PictureWriter.h"

#include <QGuiApplication>
#include <QImage>
#endif

#include <QCommandLineParser>

#include <stdexcept>
#include <string>

namespace vandra::cli {

int CommandPreview(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the picture to FILE.png.",
                                    "FILE");
    const QCommandLineOption section("section", "The frame section to draw.", "NAME");
    const QCommandLineOption set("set", "Assign a setting or a section field before drawing.",
                                 "NAME=VALUE");
    parser.addOption(output);
    parser.addOption(section);
    parser.addOption(set);
    const std::string usage =
        "preview takes one FILE.s2k --section NAME -o OUT.png [--set NAME=VALUE]...";
    const QString file = ParseModelFile(parser, args, "preview", usage);
    if (!parser.isSet(output) || !parser.isSet(section)) throw UsageError(usage);

#ifdef VANDRA_HAVE_RENDER
    Document doc;
    TViewOptions view;
    const std::vector<ReadInput> inputs = ImportModel(file, doc, &view);
    RefuseOutputOverInputs(parser.value(output), inputs);
    AssignSettings(doc, view, parser.values(set));
    const TModel& model = doc.model();
    const std::string name = Local(parser.value(section));
    const int s = FindSection(model, name);
    if (s == 0) throw UsageError("no frame section named " + text::ShownToken(name));

    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw std::logic_error("preview needs the GUI application that main() makes for it");
    const QImage image = SectionPreviewImage(model.Sections[static_cast<size_t>(s)]);
    const QByteArray png = EncodePng(Local(parser.value(output)), image);
    WriteOutputFile(parser.value(output),
                    std::string_view(png.constData(), static_cast<size_t>(png.size())));
    return 0;
#else
    throw UsageError("preview is not available: this vandra-cli was built without the renderer");
#endif
}

} // namespace vandra::cli
