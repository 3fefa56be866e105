// What the vandra-cli commands share: their argument parsing, the import of the model file and
// the --set assignments.
#pragma once

#include "model/Model.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <string>

namespace vandra::cli {

// Text of the command line in the local 8-bit encoding (file names, setting assignments).
std::string Local(const QString& s);

// Parses args for `command` with the options already added to parser; returns the one model file.
// A parse error, or not exactly one file, throws UsageError (usage names what is expected).
QString ParseModelFile(QCommandLineParser& parser, const QStringList& args, const QString& command,
                       const std::string& usage);

// Reads and imports the model file. A project (.vandra) imports its .s2k file and applies its
// choices; its settings go to *settings when given. Names of the project that match nothing are
// reported on stderr.
TModel ImportModelFile(const QString& path, TSettings* settings = nullptr);

// Applies every "NAME=VALUE" in order.
void AssignSettings(TModel& model, TSettings& settings, const QStringList& assignments);

} // namespace vandra::cli
