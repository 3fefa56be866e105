// The project file (.vandra): what an engineer chose for a model, kept between sessions. A JSON
// document holding the path of the .s2k file relative to the project file, the settings, the
// choices per frame section, shell section and material keyed by name, and the path of the
// ground-motion suite relative to the project file when there is one:
//   {"Format": "VANDRA project", "Version": 1, "Model": "frame.s2k", "Settings": {...},
//    "Sections": {"NCOL400": {"FrameType": 2, ...}}, "AreaSecs": {...}, "Mats": {...},
//    "Suite": "suites/far-field.json"}
// "Suite" is optional: a project without it is a project without a suite, and a program that
// knows no suites reads the rest, so the version stays 1.
// The same "Sections" object, alone, is the section library that the frame section dialog
// exports and imports.
#pragma once

#include "document/Document.h"
#include "model/Model.h"
#include "view/ViewOptions.h"

#include <QJsonObject>

#include <string>
#include <string_view>
#include <vector>

namespace vandra::project {

inline constexpr const char* kProjectSuffix = ".vandra";

// True for a path ending in .vandra.
bool IsProjectPath(const std::string& path);

// The frame section settings that the frame section dialog edits, keyed by section name.
QJsonObject SectionSettings(const TModel& model);
// Applies settings to the sections of the same name and returns the names that matched nothing.
// All or nothing: a value of the wrong kind raises InputError naming the section and the field,
// and no section changes.
std::vector<std::string> ApplySectionSettings(TModel& model, const QJsonObject& settings);

// The section library file: {"Sections": {...}}. Written atomically; InputError when a file
// cannot be read or written or is not a section library.
void ExportSectionLibrary(const std::string& path, const TModel& model);
std::vector<std::string> ImportSectionLibrary(const std::string& path, TModel& model);

// The project document for a model imported from s2kPath, to be written at projectPath. Its
// "Settings" hold the settings of the settings table that projects keep: the analysis settings
// and the view's layer switches. suitePath (empty: none) is the suite's file.
QJsonObject ProjectDocument(const TModel& model, const TSettings& settings,
                            const TViewOptions& view, const std::string& s2kPath,
                            const std::string& projectPath, const std::string& suitePath = {});
void SaveProject(const std::string& projectPath, const TModel& model, const TSettings& settings,
                 const TViewOptions& view, const std::string& s2kPath,
                 const std::string& suitePath = {});

struct OpenedProject {
    // The model file (its absolute path) imported with the project's choices, the project's
    // analysis settings (the defaults where it names none) and its suite (the absolute path of
    // its file, empty when it has none): what the document's replace takes.
    TOpenedModel model;
    TViewOptions view; // the project's view options, the defaults where it names none
    std::vector<std::string> unmatched; // "Sections[NAME]", "AreaSecs[NAME]", "Mats[NAME]"
};

// Reads the project, imports its model file and applies the choices. InputError (naming the file)
// when the project cannot be read, is not a project, holds an unusable value, or its model file
// is missing; ConversionError and InputError of the import pass through. The import counts on
// `progress` (Cancelled once it was cancelled).
OpenedProject OpenProject(const std::string& projectPath, Progress* progress = nullptr);

// The message that lists names of a project or library that matched nothing, one a line, control
// characters escaped; empty when none.
std::string UnmatchedMessage(const std::vector<std::string>& unmatched);

// Names and paths are bytes; a JSON document holds Unicode text. A name that is UTF-8 is written as
// its text, so the projects written so far read as they are; any other name (a Latin-1 0xE9) is
// written with each byte 0x80..0xFF as the private-use character U+EF00 + byte (0xE9 as U+EFE9).
// A UTF-8 name that holds one of those characters is written the same way, so that two names
// never share a text and every name reads back as its bytes.
QString JsonText(std::string_view bytes);
std::string BytesOf(const QString& text);

} // namespace vandra::project
