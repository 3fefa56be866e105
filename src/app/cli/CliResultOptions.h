// The options that choose which results vandra-cli loads from a run folder: --dir RUN, --step N,
// --envelope or --mode M, --section axial|kz|ky. Shared by results, render and the commands of
// the post-processing (forces, reactions, periods, drifts).
#pragma once

#include "document/Document.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace vandra::cli {

struct ResultOptions {
    QCommandLineOption dir{"dir", "The folder the solver wrote its recorder files into.", "RUN"};
    QCommandLineOption step{"step", "The load step to read (from 1; default 1).", "N"};
    QCommandLineOption envelope{"envelope",
                                "The smallest and largest values over every step instead."};
    QCommandLineOption mode{"mode", "The mode shape to read instead of a load step.", "M"};
    QCommandLineOption section{"section", "Section deformation at the frame ends: axial, kz or ky.",
                               "COMPONENT"};

    void addTo(QCommandLineParser& parser) const;
};

// What was asked for, checked (UsageError for a wrong combination or value).
struct ResultRequest {
    std::string folder;
    int step = 1;
    bool envelope = false;  // every step instead of `step`
    bool modeShape = false; // mode `mode` instead of a load step
    int mode = 0;
    int component = 0; // > 0: section values of that component at `step`

    // The step the post-processing loaders take: `step`, or kEnvelopeStep.
    int loadedStep() const;
};
ResultRequest ParseResultRequest(const QCommandLineParser& parser, const ResultOptions& options,
                                 bool dirRequired);

// Reads what the request names into the document's results; all or nothing. A load step brings
// its rotations when the script recorded them; section values set the colour range to theirs. The
// envelope loads no displacements (a deformed shape is one step).
void LoadResults(Document& doc, const ResultRequest& request);

} // namespace vandra::cli
