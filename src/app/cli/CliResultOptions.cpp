#include "app/cli/CliResultOptions.h"

#include "app/cli/CliSupport.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/ShownText.h"
#include "post/RecorderReaders.h"
#include "post/ResultLoading.h"

#include <utility>

namespace vandra::cli {

void ResultOptions::addTo(QCommandLineParser& parser) const {
    parser.addOption(dir);
    parser.addOption(step);
    parser.addOption(envelope);
    parser.addOption(mode);
    parser.addOption(section);
}

ResultRequest ParseResultRequest(const QCommandLineParser& parser, const ResultOptions& options,
                                 bool dirRequired) {
    ResultRequest request;
    if (!parser.isSet(options.dir)) {
        if (dirRequired) throw UsageError("--dir RUN is needed: the folder of the recorder files");
        if (parser.isSet(options.step) || parser.isSet(options.envelope) ||
            parser.isSet(options.mode) || parser.isSet(options.section))
            throw UsageError("--step, --envelope, --mode and --section need --dir RUN");
        return request;
    }
    request.folder = Local(parser.value(options.dir));
    if (parser.isSet(options.step) + parser.isSet(options.envelope) + parser.isSet(options.mode) >
        1)
        throw UsageError("--step, --envelope and --mode exclude each other");
    request.envelope = parser.isSet(options.envelope);
    if (request.envelope && parser.isSet(options.section))
        throw UsageError("--section reads a load step; its envelope is not drawn");
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

int ResultRequest::loadedStep() const {
    return envelope ? kEnvelopeStep : step;
}

void LoadResults(Document& doc, const ResultRequest& request) {
    if (request.folder.empty() || request.envelope) return;
    const TModel& model = doc.model();
    TResults loaded = doc.results();
    if (request.modeShape)
        LoadModeShape(loaded, model, request.folder, request.mode);
    else
        LoadNodeStep(loaded, model, doc.settings(), request.folder, request.step);
    if (request.component > 0)
        LoadSectionStep(loaded, model, doc.settings(), request.folder, request.step,
                        request.component);
    doc.results() = std::move(loaded);
}

} // namespace vandra::cli
