// The options that choose which results vandra-cli loads from a run folder: --dir RUN, --step N or
// --mode M, --section axial|kz|ky. Shared by results and render.
#pragma once

#include "document/Document.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace vandra::cli {

struct ResultOptions {
    QCommandLineOption dir{"dir", "The folder the solver wrote its recorder files into.", "RUN"};
    QCommandLineOption step{"step", "The load step to read (from 1; default 1).", "N"};
    QCommandLineOption mode{"mode", "The mode shape to read instead of a load step.", "M"};
    QCommandLineOption section{"section", "Section deformation at the frame ends: axial, kz or ky.",
                               "COMPONENT"};

    void addTo(QCommandLineParser& parser) const;
};

// What was asked for, checked (UsageError for a wrong combination or value).
struct ResultRequest {
    std::string folder;
    int step = 1;
    bool modeShape = false; // mode `mode` instead of a load step
    int mode = 0;
    int component = 0; // > 0: section values of that component at `step`
};
ResultRequest ParseResultRequest(const QCommandLineParser& parser, const ResultOptions& options,
                                 bool dirRequired);

// Reads what the request names into the document's results; all or nothing. Section values set
// the colour range to theirs.
void LoadResults(Document& doc, const ResultRequest& request);

} // namespace vandra::cli
