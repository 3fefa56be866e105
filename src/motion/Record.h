// Ground-motion records: a ground acceleration in g at a constant time step, read from a PEER NGA
// file (.AT2) or from a file of columns whose time step the engineer gives.
#pragma once

#include <string>
#include <vector>

namespace vandra::motion {

// The most values a record may have (a day at 100 values a second is 8.64 million).
constexpr int kMaxRecordValues = 10'000'000;

enum class RecordFormat {
    kPeer,    // PEER NGA: four header lines, the fourth giving NPTS and DT, then the values
    kColumns, // values in columns separated by blanks or commas, one time step a line
};

// Where a record is and how to read it.
struct RecordSource {
    std::string path;
    RecordFormat format = RecordFormat::kPeer;
    double dt = 0;     // kColumns: the time step in seconds
    int column = 1;    // kColumns: the column read, from 1
    int skipLines = 0; // kColumns: header lines before the values

    friend bool operator==(const RecordSource&, const RecordSource&) = default;
};

struct Record {
    std::string path;
    std::string title;         // PEER: the second header line (event, station, component)
    double dt = 0;             // s
    std::vector<double> accel; // g, at t = 0, dt, 2 dt, ...

    int Steps() const { return static_cast<int>(accel.size()); }
    // The peak ground acceleration: the largest absolute value, in g.
    double Pga() const;
};

// Reads a PEER NGA record. The fourth header line holds the number of values and the time step,
// as "NPTS=  5590, DT=   .0050 SEC," or as "5590   .0050   NPTS, DT". NPTS is the truth: a file
// with fewer or more values is refused. Every refusal is an InputError naming the file and the line
// (and the token when one is at fault).
Record ReadPeerRecord(const std::string& path);

// Reads one column (from 1) of a file of columns at the time step dt, after skipLines header lines.
// Blank lines are passed over; every other line must have as many columns as the first one.
Record ReadColumnRecord(const std::string& path, double dt, int column, int skipLines);

Record ReadRecord(const RecordSource& source);

// The values one to a line, the form the solver's time series reads, each written to 15
// significant digits.
std::string SingleColumnText(const Record& record);

} // namespace vandra::motion
