// The result readers against recorder files the real solver wrote (tests/data).
#include "CaseFile.h"
#include "document/SettingsByName.h"
#include "post/RecorderReaders.h"
#include "PostTestSupport.h"
#include "import/S2kImport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

const std::string kData = std::string(VANDRA_SOURCE_DIR) + "/tests/data/";

struct LoadedRun {
    TModel model;
    TSettings settings;
};

LoadedRun Load(const std::string& s2k, std::vector<std::string> assignments) {
    LoadedRun run{ImportS2k(ReadS2kFile(kData + s2k)), TSettings()};
    for (const std::string& a : assignments)
        AssignSetting(run.model, run.settings, a);
    return run;
}

LoadedRun FrameStatic(bool aggregator) {
    std::vector<std::string> set = {"Sections[EIPE400].FrameType=4"};
    if (aggregator) set.push_back("UseAggregator=1");
    return Load("two_storey_frame.s2k", set);
}

} // namespace

TEST(RecorderReaders, CantileverTipMatchesTheClosedForm) {
    // P L^3 / 3 E I with P = 2000, 1000 N, L = 2000 mm, E = 200000, I = 100 x 200^3 / 12 about
    // the axis that bends in X and 200 x 100^3 / 12 about the other.
    const LoadedRun run = Load("cantilever_elastic/cantilever.s2k", {});
    const double L = 2000, E = 200000;
    const double Ix = 100.0 * 200 * 200 * 200 / 12, Iy = 200.0 * 100 * 100 * 100 / 12;
    const TNodeField last = ReadNodeStep(run.model, kData + "cantilever_elastic", 10);
    EXPECT_NEAR(last.X[2], 2000 * L * L * L / (3 * E * Ix), 1e-4);
    EXPECT_NEAR(last.Y[2], 1000 * L * L * L / (3 * E * Iy), 1e-3);
    EXPECT_EQ(last.X[1], 0);
    const TNodeField first = ReadNodeStep(run.model, kData + "cantilever_elastic", 1);
    EXPECT_DOUBLE_EQ(first.X[2], 0.039998);
    EXPECT_DOUBLE_EQ(first.Y[2], 0.079984);
}

// Values taken by hand from the files (NaN: not checked); the range of a read is that of its values.
TEST(RecorderReaders, SectionColumnsFollowTheFrameTypes) {
    const double no = std::nan("");
    const struct {
        const char* folder;
        bool aggregator;
        int frame;
        int component;
        double i, j;
        bool hasI, hasJ;
    } cases[] = {
        // column 2 of ele0_secs.out line 1 is frame 1's axial strain; frame 2 starts at column 6
        {"frame_static", false, 1, 1, -3.52064e-07, -3.52064e-07, true, true},
        {"frame_static", false, 2, 2, 5.58958e-10, no, true, true},
        // elastic beams and the rigid link record no section
        {"frame_static", false, 21, 1, no, no, false, false},
        {"frame_static", false, 29, 1, no, no, false, false},
        // beams with hinges: end I from column 50, end J from section 6 in ele0_hingej.out
        {"frame_static", false, 13, 1, 0, no, true, true},
        {"frame_static", false, 13, 3, no, 1.4805e-08, true, true},
        // trusses: one section, the same value at both ends; truss 27 is the 21st element with
        // values (12 columns, 8 hinge beams): columns 82..85
        {"frame_static", false, 27, 1, -5.20034e-08, -5.20034e-08, true, true},
        {"frame_static", false, 28, 1, -3.01468e-08, no, true, true},
        {"frame_static_aggregator", true, 1, 1, -3.52093e-07, no, true, true},
        {"frame_static_aggregator", true, 28, 1, no, no, true, true},
        {"frame_static_aggregator", true, 25, 1, no, no, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " frame " + std::to_string(c.frame));
        const LoadedRun run = FrameStatic(c.aggregator);
        const TFrameEnds ends =
            ReadSectionStep(run.model, run.settings, kData + c.folder, 1, c.component);
        const auto f = static_cast<size_t>(c.frame);
        EXPECT_EQ(ends.HasI[f] != 0, c.hasI);
        EXPECT_EQ(ends.HasJ[f] != 0, c.hasJ);
        if (!std::isnan(c.i)) EXPECT_DOUBLE_EQ(ends.I[f], c.i);
        if (!std::isnan(c.j)) EXPECT_DOUBLE_EQ(ends.J[f], c.j);
        ASSERT_TRUE(ends.Any);
        double lo = 1e300, hi = -1e300;
        for (size_t k = 1; k < ends.I.size(); ++k) {
            if (ends.HasI[k]) lo = std::min(lo, ends.I[k]), hi = std::max(hi, ends.I[k]);
            if (ends.HasJ[k]) lo = std::min(lo, ends.J[k]), hi = std::max(hi, ends.J[k]);
        }
        EXPECT_EQ(ends.Min, lo);
        EXPECT_EQ(ends.Max, hi);
    }
}

TEST(RecorderReaders, BlocksOfHundredTags) {
    const LoadedRun run = Load("grid_blocks/grid.s2k", {});
    ASSERT_EQ(run.model.NodeCount, 150);
    ASSERT_EQ(run.model.FrameCount, 316);
    const TNodeField disp = ReadNodeStep(run.model, kData + "grid_blocks", 3);
    std::ifstream in(kData + "grid_blocks/node1.out");
    std::string skip;
    std::getline(in, skip);
    std::getline(in, skip);
    std::vector<double> line(151);
    for (double& v : line)
        in >> v;
    EXPECT_DOUBLE_EQ(disp.X[101], line[1]); // node 101 opens node1.out
    EXPECT_DOUBLE_EQ(disp.Z[150], line[150]);
    // Frames 301..316 are the remainder block ele0; elastic frames give no values but the
    // files must be there.
    const TFrameEnds ends = ReadSectionStep(run.model, run.settings, kData + "grid_blocks", 1, 1);
    EXPECT_EQ(ends.I.size(), 317u);
}

TEST(RecorderReaders, ModeShapesAndHistory) {
    const LoadedRun run = Load("two_storey_frame.s2k", {});
    const TNodeField m1 = ReadModeShape(run.model, kData + "frame_modal", 1);
    const TNodeField m3 = ReadModeShape(run.model, kData + "frame_modal", 3);
    EXPECT_NE(m1.X[21], m3.X[21]);
    const TNodeHistory h = ReadNodeHistory(run.model, kData + "frame_timehistory", 100);
    ASSERT_EQ(h.Steps, 100);
    const TNodeField step7 = ReadNodeStep(run.model, kData + "frame_timehistory", 7);
    for (size_t i = 1; i <= 21; ++i) {
        EXPECT_EQ(h.StepX(7)[i], step7.X[i]);
        EXPECT_EQ(h.StepZ(7)[i], step7.Z[i]);
    }
    const TNodeHistory all = ReadNodeHistory(run.model, kData + "frame_timehistory", 0);
    EXPECT_EQ(all.Steps, 150);
    EXPECT_DOUBLE_EQ(all.Time[0], 0.02);
    // The pushover's time column is the load factor: the capacity curve of the control joint.
    const TJointHistory push = ReadJointHistory(run.model, kData + "frame_pushover", 21);
    ASSERT_EQ(push.Time.size(), 110u);
    EXPECT_DOUBLE_EQ(push.Time[9], 1);
    EXPECT_NEAR(push.X.back() - push.X[9], 50, 1e-4); // 100 steps of 0.5 after gravity
}

// The refusals of tests/cases/post/recorder-refusals.case.
TEST(RecorderReaders, ErrorsNameFileLineAndColumnAndStoreNothing) {
    const LoadedRun run = Load("cantilever_elastic/cantilever.s2k", {});
    const ScratchFolder dir("cantilever_elastic");
    for (const TestCase& c : ReadCases("post/recorder-refusals.case")) {
        if (c.Has("removed")) dir.remove("node0.out");
        else dir.write("node0.out", Unescaped(c.One("text")));
        std::string message = c.One("error");
        if (const size_t at = message.find("<f>"); at != std::string::npos)
            message.replace(at, 3, dir.file("node0.out"));
        const std::string error =
            ErrorOf([&] { ReadNodeStep(run.model, dir.path(), std::stoi(c.One("step"))); });
        EXPECT_EQ(error.substr(0, message.size()), message) << c.where;
    }
    // CR LF lines and tabs read as well.
    dir.write("node0.out", "0.1\t0 0 0 1 2 3\r\n");
    EXPECT_EQ(ReadNodeStep(run.model, dir.path(), 1).Z[2], 3);
}

TEST(RecorderReaders, ABadFileOfTheRequestFailsTheWholeRead) {
    const LoadedRun run = FrameStatic(false);
    const ScratchFolder dir("frame_static");
    dir.remove("ele0_hingej.out");
    const std::string error =
        ErrorOf([&] { ReadSectionStep(run.model, run.settings, dir.path(), 1, 1); });
    EXPECT_EQ(error.rfind("Cannot open the result file " + dir.file("ele0_hingej.out"), 0), 0u)
        << error;
    EXPECT_NE(ErrorOf([&] { ReadSectionStep(run.model, run.settings, dir.path(), 1, 4); }),
              "no error");
    // A history longer than the file is refused.
    EXPECT_NE(ErrorOf([&] { ReadNodeHistory(run.model, dir.path(), 13); }), "no error");
    EXPECT_EQ(ReadNodeHistory(run.model, dir.path(), 12).Steps, 12);
}
