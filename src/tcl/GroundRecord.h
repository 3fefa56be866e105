// The record of a time history as the script reads it. The engineer chooses a record file (a PEER
// .AT2 file, or a file of one value a line, in g); the script reads the record's values, one a
// line, from a copy beside it, scaled to the model's units, and steps through all of them at the
// record's time step.
#pragma once

#include "model/Model.h"
#include "motion/Record.h"

#include <string>

namespace vandra {

// What the script writes of its record.
struct ScriptRecord {
    std::string copyName; // the file beside the script that the script reads
    double dt = 0;        // s
    int steps = 0;        // the record's values: the analysis steps
};

// True for the analysis types whose script reads the chosen record (5 and 6).
bool UsesRecord(int analysisType);

// How the record file is read: a PEER record for the extension .AT2 (in any case), else one
// column at RecordDt.
motion::RecordSource RecordSourceOf(const TSettings& settings);

// The name of the record's copy beside the script: the file's name without its folder and
// extension, every character but letters, digits, '.', '_' and '-' made '_', then ".txt".
std::string RecordCopyName(const std::string& recordPath);

// Reads the chosen record. InputError "Time History Analysis needs a record: choose its file
// (RecordFile)" when none is chosen, and the record readers' messages (naming the file and the
// line) for one that is missing, unreadable or malformed, or that has no value.
motion::Record ReadChosenRecord(const TSettings& settings);

// The chosen record as the script writes it (ReadChosenRecord's refusals).
ScriptRecord ScriptRecordOf(const TSettings& settings);

// Writes the record's values, one a line, beside the script at scriptPath under its copy name
// (through a temporary file), for an analysis type that reads a record; nothing for another type,
// and nothing when that copy would be the record file itself. ReadChosenRecord's refusals, and
// InputError when the copy cannot be written.
void CopyRecordBeside(const TSettings& settings, const std::string& scriptPath);

// The acceleration of gravity in the model's length unit per second squared: a record's values
// are in g.
double GravityInModelUnits(const TModel& model);

} // namespace vandra
