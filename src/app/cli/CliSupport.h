// What the vandra-cli commands share: their argument parsing, the import of the model file, the
// --set assignments, warnings on standard error and checked writes to standard output.
//
// Arguments come in as the system gives them, 8-bit bytes, and are carried as Latin-1 QStrings
// (one character per byte), so that a file name goes back to the system exactly as it came:
// a Latin-1 name opens, and two different names never write the same file.
#pragma once

#include "document/Document.h"
#include "model/AtomicFile.h"
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
// reported on stderr. Returns the files read (the model file; or the project and its model file),
// which no output of the command may replace: they are also protected (ProtectInputs).
std::vector<ReadInput> ImportModel(const QString& path, Document& doc,
                                   TViewOptions* view = nullptr);

// Each warning on standard error, one line each (control characters escaped).
void PrintWarnings(const WarningList& warnings);
// A message on standard error as one line of its own: control characters escaped.
void PrintLine(std::string_view message);

// Applies every "NAME=VALUE" in order to the document's model, settings and results and to the
// view options; a value that does not convert is a usage error naming the option.
void AssignSettings(Document& doc, TViewOptions& view, const QStringList& assignments);

// Refuses (UsageError "-o OUT names the model file itself", "... the project's model file "M"")
// an output file that is one of the files the command read, by identity (another name of the
// same file is refused too).
void RefuseOutputOverInputs(const QString& output, const std::vector<ReadInput>& inputs);

// Writes a whole output file through the checked writer (WriteFileAtomically): a temporary file
// renamed over a regular file, a device or FIFO written in place, every failed write an error.
void WriteOutputFile(const QString& output, std::string_view bytes);

// An option's value as a whole number from `least` up, or a finite number: UsageError naming the
// option ("--step: '1e12' is not a valid integer value") otherwise.
int IntegerOption(const QCommandLineParser& parser, const QString& option, int least);
double FiniteOption(const QCommandLineParser& parser, const QString& option);

// Writes to standard output; a failed write (a full disk, a closed pipe) throws InputError.
void WriteStdout(std::string_view bytes);
// Flushes standard output; a failure throws InputError.
void FinishStdout();

} // namespace vandra::cli
