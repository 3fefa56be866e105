// The post-processing commands on recorded solver output (tests/data/frame_push: the example's
// PUSH case, 150 kN along X, applied in four static steps of a quarter; frame_modal: three modes).
// One runner over many command lines: every table is rectangular, and what statics and a rising
// load demand holds in its numbers.
#include "CliTestSupport.h"

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace cli_test;

namespace {

const std::string kFrame = "'" + SourcePath("examples/two_storey_frame.s2k") + "'";
const std::string kPush = " --dir '" + SourcePath("tests/data/frame_push") +
                          "' --set AnalysisType=1 --set LoadCase=2 --set LoadSteps=4"
                          " --set RecOpt=1,1,0,0,0 --set RecReactions=1 --set RecRotations=1"
                          " --set Sections[EIPE400].FrameType=4";
const std::string kModal = " --dir '" + SourcePath("tests/data/frame_modal") +
                           "' --set AnalysisType=4 --set ModalNumber=3";

// A CSV table: the header's names, then rows of cells by name (empty cells absent).
struct Csv {
    std::vector<std::string> columns;
    std::vector<std::map<std::string, std::string>> rows;

    double number(size_t row, const std::string& column) const {
        const auto it = rows.at(row).find(column);
        if (it == rows[row].end()) ADD_FAILURE() << "no value under " << column;
        return it == rows[row].end() ? NAN : std::stod(it->second);
    }
};

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    return cells;
}

// Every line as many cells as the header (trailing empty cells left out).
Csv ParseCsv(const std::string& text) {
    Csv csv;
    std::stringstream in(text);
    std::string line;
    std::getline(in, line);
    csv.columns = Split(line);
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = Split(line);
        EXPECT_LE(cells.size(), csv.columns.size()) << line;
        auto& row = csv.rows.emplace_back();
        for (size_t k = 0; k < cells.size() && k < csv.columns.size(); ++k)
            if (!cells[k].empty()) row[csv.columns[k]] = cells[k];
    }
    return csv;
}

Csv Table(const std::string& command, const std::string& args) {
    const CliRun run = RunCli(command + " " + kFrame + args + " --csv");
    EXPECT_EQ(run.status, 0) << command << args << "\n" << run.err;
    return ParseCsv(run.out);
}

struct TableCase {
    const char* name;
    std::string command, args;
    std::function<void(const Csv&)> check;
};

} // namespace

TEST(PostCli, TablesHoldWhatStaticsAndTheRisingLoadDemand) {
    const Csv forces1 = Table("forces", kPush + " --step 1");
    const Csv drifts1 = Table("drifts", kPush + " --step 1");
    const std::vector<TableCase> cases = {
        {"the supports carry the push: base shear 150 kN within 0.01 %", "reactions",
         kPush + " --step 4",
         [](const Csv& t) {
             ASSERT_EQ(t.rows.size(), 9u); // eight supports, then the total
             EXPECT_EQ(t.rows.back().at("Joint"), "Total");
             EXPECT_NEAR(t.number(8, "FX"), -150000, 15);
             double fx = 0;
             for (size_t k = 0; k < 8; ++k)
                 fx += t.number(k, "FX");
             EXPECT_NEAR(t.number(8, "FX"), fx, 1e-6 * 150000);
         }},
        {"the envelope of a rising load: the largest reaction at the last step", "reactions",
         kPush + " --envelope",
         [](const Csv& t) {
             ASSERT_EQ(t.rows.size(), 9u);
             EXPECT_NEAR(t.number(8, "FXMin"), -150000, 15);
             EXPECT_EQ(t.number(8, "FXMinStep"), 4);
             EXPECT_NEAR(t.number(8, "FXMax"), -37500, 4);
             EXPECT_EQ(t.number(8, "FXMaxStep"), 1);
         }},
        {"the extremes along a member bound its ends", "forces", kPush + " --step 4",
         [&](const Csv& t) {
             ASSERT_EQ(t.rows.size(), forces1.rows.size());
             ASSERT_EQ(t.rows.size(), 26u * 6 + 2); // beam-columns, then trusses with N alone
             for (size_t r = 0; r < t.rows.size(); ++r) {
                 const std::string what = t.rows[r].at("Frame") + " " + t.rows[r].at("Component");
                 const double tie = 1e-9 * (std::fabs(t.number(r, "Min")) +
                                            std::fabs(t.number(r, "Max")));
                 for (const char* end : {"I", "J"}) {
                     EXPECT_LE(t.number(r, "Min"), t.number(r, end) + tie) << what;
                     EXPECT_GE(t.number(r, "Max"), t.number(r, end) - tie) << what;
                 }
                 EXPECT_GE(t.number(r, "MinX"), 0) << what;
             }
         }},
        {"the force envelope holds every step's extremes", "forces", kPush + " --envelope",
         [&](const Csv& t) {
             const Csv last = Table("forces", kPush + " --step 4");
             ASSERT_EQ(t.rows.size(), last.rows.size());
             for (size_t r = 0; r < t.rows.size(); ++r)
                 for (const Csv* step : {&forces1, &last}) {
                     EXPECT_LE(t.number(r, "Min"), step->number(r, "Min"));
                     EXPECT_GE(t.number(r, "Max"), step->number(r, "Max"));
                     EXPECT_LE(t.number(r, "IMin"), step->number(r, "I"));
                     EXPECT_GE(t.number(r, "JMax"), step->number(r, "J"));
                 }
         }},
        {"storey drifts grow with the push; the run's largest is the last step's", "drifts",
         kPush + " --envelope",
         [&](const Csv& t) {
             const Csv last = Table("drifts", kPush + " --step 4");
             ASSERT_EQ(t.rows.size(), 2u);
             for (size_t s = 0; s < 2; ++s) {
                 EXPECT_GT(drifts1.number(s, "DriftX"), 0);
                 EXPECT_GT(last.number(s, "DriftX"), 2 * drifts1.number(s, "DriftX"));
                 EXPECT_EQ(t.number(s, "DriftXMax"), last.number(s, "DriftX"));
                 EXPECT_EQ(t.number(s, "DriftXMaxStep"), 4);
             }
             EXPECT_EQ(t.number(1, "Bottom"), t.number(0, "Top"));
         }},
        {"periods from the mode shapes: T = 1 / f, sums grow to at most 1", "periods",
         kModal + " --set RecOpt=1,0,0,0,1",
         [](const Csv& t) {
             ASSERT_EQ(t.rows.size(), 3u);
             for (size_t m = 0; m < 3; ++m) {
                 EXPECT_NEAR(t.number(m, "Period") * t.number(m, "Frequency"), 1, 1e-9);
                 EXPECT_LE(t.number(m, "SumUX"), 1 + 1e-9);
                 if (m > 0) EXPECT_GE(t.number(m, "SumUX"), t.number(m - 1, "SumUX"));
             }
         }},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(Table(c.command, c.args));
    }
}

// What each command refuses, with the status of a usage error (2) or of an input error (1).
TEST(PostCli, RefusesWhatDoesNotApply) {
    const struct {
        std::string args;
        int status;
        const char* message;
    } cases[] = {
        {"forces " + kFrame + kPush + " --mode 1", 2, "--mode does not apply"},
        {"periods " + kFrame + kModal + " --step 1", 2, "--step and --envelope do not apply"},
        {"reactions " + kFrame + kPush + " --step 1 --envelope", 2, "exclude each other"},
        {"drifts " + kFrame + kPush + " --section kz", 2, "--section belongs to"},
        {"reactions " + kFrame + kPush + " --step 5", 1, "Load Step 5 was not recorded"},
        {"drifts " + kFrame + kPush + " --step 5", 1, "Load Step 5 was not recorded"},
        {"periods " + kFrame + kModal + " --mode 4", 1, "Mode 4 was not computed"},
        {"render " + kFrame + " -o x.png --forces Mx" + kPush, 2, "--forces takes N, Vy"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }
}
