// Import of a SAP2000 version 6 text model (.s2k).
#pragma once

#include "import/S2kText.h"
#include "model/Model.h"
#include "model/Progress.h"

#include <string>
#include <string_view>
#include <vector>

namespace vandra {

// Reads a whole file as 8-bit text lines; a line ends at CR, LF, CR LF or CR CR LF. A file that
// cannot be read, or anything but a regular file (a directory, a FIFO, a device), raises
// InputError naming it.
S2kText ReadS2kFile(const std::string& path);
S2kText SplitS2kLines(std::string_view text);

// Runs every reader in the fixed order over S2kLines and returns the new model, with what the
// engineer must know in its Warnings (naming fileName). All or nothing: a conversion error
// (ConversionError, "Line 12 (MATERIAL): '6e3x' is not a valid floating point value"), a
// reference outside its table or a text without any of the eleven section keywords ("no SAP2000
// version 6 section found", InputError) is thrown and no partial model escapes.
// Counts one unit of progress a reader and throws Cancelled at the first count after a cancel.
TModel ImportS2k(const S2kText& S2kLines, const std::string& fileName = std::string(),
                 Progress* progress = nullptr);

// The seven counts of the status bar: max(count, 0) of NodeCount, FrameCount, ShellCount1,
// SolidCount, MatCount, SectionCount, AreaSecCount.
struct StatusCounts {
    int Node = 0, Frame = 0, Shell = 0, Solid = 0, Mat = 0, Fsec = 0, Wsec = 0;
};
StatusCounts CountsOf(const TModel& model);

} // namespace vandra
