// What the vandra-cli commands share: their argument parsing, the import of the model file, the
// --set assignments, warnings on standard error and checked writes to standard output.
//
// Arguments come in as the system gives them, 8-bit bytes, and are carried as Latin-1 QStrings
// (one character per byte), so that a file name goes back to the system exactly as it came:
// a Latin-1 name opens, and two different names never write the same file.
#pragma once

#include "document/Document.h"
#include "model/ModelCheck.h"
#include "view/ViewOptions.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace vandra::cli {

// The bytes of an argument (file names, setting assignments).
std::string Local(const QString& s);
// An argument from its bytes.
QString FromLocal(std::string_view bytes);

// Parses args for `command` with the options already added to parser; returns the one model file.
// A parse error, or not exactly one file, throws UsageError (usage names what is expected).
QString ParseModelFile(QCommandLineParser& parser, const QStringList& args, const QString& command,
                       const std::string& usage);

// Reads and imports the model file and opens it in doc through its replace; its warnings go to
// standard error. A project (.vandra) imports its .s2k file, applies its choices and brings its
// settings; its view options go to *view when given. Names of the project that match nothing are
// reported on stderr.
void ImportModel(const QString& path, Document& doc, TViewOptions* view = nullptr);

// Each warning on standard error, one line each.
void PrintWarnings(const WarningList& warnings);

// Applies every "NAME=VALUE" in order to the document's model, settings and results and to the
// view options; a value that does not convert is a usage error naming the option.
void AssignSettings(Document& doc, TViewOptions& view, const QStringList& assignments);

// Refuses (UsageError) an output file that is the model file itself.
void RefuseOutputOverInput(const QString& model, const QString& output);

// Writes to standard output; a failed write (a full disk, a closed pipe) throws InputError.
void WriteStdout(std::string_view bytes);
// Flushes standard output; a failure throws InputError.
void FinishStdout();

} // namespace vandra::cli
