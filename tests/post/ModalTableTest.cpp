// The modal table computed from the example's recorded mode shapes and eigenvalues against the
// solver's own report of the same run (tests/data/frame_modal: rigid floors, a rigid link, masses
// on the floor joints), and the refusals of the readers and of the computation.
#include "PostTestSupport.h"

#include "import/S2kImport.h"
#include "post/ModalTable.h"

#include <gtest/gtest.h>

#include <string>

using namespace vandra;
using namespace vandra::testing;

namespace {

const std::string kData = std::string(VANDRA_SOURCE_DIR) + "/tests/data/";

TModel Example() {
    return ImportS2k(ReadS2kFile(kData + "two_storey_frame.s2k"));
}

TEST(ModalTable, ComputedFromTheShapesAsTheSolverReportsIt) {
    const TModel m = Example();
    const TModalTable computed = ReadModalTable(m, kData + "frame_modal", 3);
    const TModalTable report = ReadModalReport(kData + "frame_modal");
    ASSERT_EQ(computed.Modes.size(), 3u);
    ASSERT_EQ(report.Modes.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE("mode " + std::to_string(k + 1));
        const TModeRow& a = computed.Modes[k];
        const TModeRow& b = report.Modes[k];
        EXPECT_EQ(a.Mode, b.Mode);
        EXPECT_NEAR(a.Eigenvalue, b.Eigenvalue, 1e-5 * b.Eigenvalue);
        EXPECT_NEAR(a.Period, b.Period, 1e-5 * b.Period);
        EXPECT_NEAR(a.Frequency, b.Frequency, 1e-5 * b.Frequency);
        // RX and RY are about the centre, whose elevation the report takes otherwise.
        for (int d : {kUX, kUY, kUZ, kRZ}) {
            EXPECT_NEAR(a.Ratio[static_cast<size_t>(d)], b.Ratio[static_cast<size_t>(d)], 2e-5)
                << "direction " << d;
            EXPECT_NEAR(a.Cumulative[static_cast<size_t>(d)], b.Cumulative[static_cast<size_t>(d)],
                        2e-5)
                << "direction " << d;
        }
    }
    // Mode 1 sways along Y with 82.9 % of the mass (the report's own digits).
    EXPECT_NEAR(report.Modes[0].Ratio[kUY], 0.82906, 1e-7);
    EXPECT_NEAR(computed.Modes[0].Period, 0.351762, 1e-6);
    // Centre: X, Y by the masses along them, as the report; Z, without vertical masses, by all
    // of them: 42.6 t on the first floor, 33 t on the second.
    EXPECT_NEAR(computed.Centre[0], report.Centre[0], 1e-9);
    EXPECT_NEAR(computed.Centre[1], report.Centre[1], 1e-9);
    EXPECT_NEAR(computed.Centre[2], (42.6 * 3500 + 33 * 7000) / 75.6, 1e-9);
    for (int d : {kUX, kUY, kUZ, kRZ})
        EXPECT_NEAR(computed.FreeMass[static_cast<size_t>(d)],
                    report.FreeMass[static_cast<size_t>(d)],
                    1e-5 * report.FreeMass[static_cast<size_t>(d)] + 1e-9);
}

TEST(ModalTable, Refusals) {
    const ScratchFolder dir("frame_modal");
    const std::string periods = dir.file("Periods.txt"), report = dir.file("ModalProperties.txt");
    TModel m = Example();
    EXPECT_EQ(ErrorOf([&] { ReadModalTable(m, dir.path(), 4); }),
              periods + " holds 3 eigenvalues; 4 modes were asked for");
    dir.write("Periods.txt", " 319.05  373.76\n 1539.6 x1\n");
    EXPECT_EQ(ErrorOf([&] { ReadEigenvalues(dir.path()); }),
              periods + ", line 2, column 2: 'x1' is not a valid floating point value");
    dir.write("Periods.txt", " 319.05  -3  1539.6\n");
    EXPECT_EQ(ErrorOf([&] { ReadModalTable(m, dir.path(), 3); }),
              "Mode 2 has the eigenvalue -3, which is not positive: the model is not stable");
    dir.write("Periods.txt", " 319.05  373.76  1539.6\n");
    m.Nodes[9].Mass[6] = 1;
    EXPECT_EQ(ErrorOf([&] { ReadModalTable(m, dir.path(), 3); }),
              "Joint 9 has a rotational mass; its participating mass needs the rotations of the "
              "mode shapes, which are not recorded");
    dir.write("ModalProperties.txt", "* 2. EIGENVALUE ANALYSIS:\n 1 319 17.8 2.8 0.35\n");
    EXPECT_EQ(ErrorOf([&] { ReadModalReport(dir.path()); }),
              report + ": the report has no section 4");
    dir.write("ModalProperties.txt", "* 2. EIGENVALUE ANALYSIS:\n 1 319 17.8 2.8\n");
    EXPECT_EQ(ErrorOf([&] { ReadModalReport(dir.path()); }),
              report + ", line 2, column 5: the line ends after 4 columns; its block needs 5");
}

} // namespace
