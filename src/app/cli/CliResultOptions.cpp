#include "app/cli/CliResultOptions.h"

#include "app/cli/CliSupport.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/ShownText.h"
#include "post/RecorderReaders.h"

#include <utility>

namespace vandra::cli {

void ResultOptions::addTo(QCommandLineParser& parser) const {
    parser.addOption(dir);
    parser.addOption(step);
    parser.addOption(mode);
    parser.addOption(section);
}

ResultRequest ParseResultRequest(const QCommandLineParser& parser, const ResultOptions& options,
                                 bool dirRequired) {
    ResultRequest request;
    if (!parser.isSet(options.dir)) {
        if (dirRequired) throw UsageError("--dir RUN is needed: the folder of the recorder files");
        if (parser.isSet(options.step) || parser.isSet(options.mode) ||
            parser.isSet(options.section))
            throw UsageError("--step, --mode and --section need --dir RUN");
        return request;
    }
    request.folder = Local(parser.value(options.dir));
    if (parser.isSet(options.step) && parser.isSet(options.mode))
        throw UsageError("--step and --mode exclude each other");
    if (parser.isSet(options.step)) request.step = IntegerOption(parser, "step", 1);
    if (parser.isSet(options.mode)) {
        request.modeShape = true;
        request.mode = IntegerOption(parser, "mode", 1);
        if (parser.isSet(options.section))
            throw UsageError("--section reads a load step; a mode shape has no section values");
    }
    if (parser.isSet(options.section)) {
        const QString c = parser.value(options.section);
        if (c == "axial")
            request.component = 1;
        else if (c == "kz")
            request.component = 2;
        else if (c == "ky")
            request.component = 3;
        else
            throw UsageError("--section takes axial, kz or ky, not " + text::ShownToken(Local(c)));
    }
    return request;
}

void LoadResults(Document& doc, const ResultRequest& request) {
    if (request.folder.empty()) return;
    const TModel& model = doc.model();
    TNodeField disp = request.modeShape ? ReadModeShape(model, request.folder, request.mode)
                                        : ReadNodeStep(model, request.folder, request.step);
    TFrameEnds ends;
    if (request.component > 0)
        ends =
            ReadSectionStep(model, doc.settings(), request.folder, request.step, request.component);
    doc.results().Disp = std::move(disp);
    if (request.component > 0) TakeSectionValues(doc.results(), std::move(ends));
}

} // namespace vandra::cli
