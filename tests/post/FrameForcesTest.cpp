// The element force readers against hand-written recorder files: which columns each frame type
// takes and which section forces they give, the blocks of 100 elements, all-or-nothing refusals
// naming file, line and column, the load factors of each analysis and the envelope over steps.
#include "CaseFile.h"
#include "PostTestSupport.h"

#include "model/NumberText.h"
#include "post/FrameForces.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr double kLength = 4000;

// The value the files hold for frame f at line k in its column c (from 0).
double Value(int f, int k, int c) {
    return 1000.0 * f + 100.0 * k + c + 0.5;
}

// Writes ele0.out (and ele0_axial.out when there are corotational trusses) for the frames of `m`
// (fewer than 100): `lines` lines, each frame with the columns of its type.
void WriteForceFiles(const ScratchFolder& dir, const TModel& m, int lines,
                     const std::function<double(int, int, int)>& value = Value) {
    std::string main, axial;
    for (int k = 1; k <= lines; ++k) {
        main += text::FormatGeneral(0.25 * k);
        axial += text::FormatGeneral(0.25 * k);
        for (int f = 1; f <= m.FrameCount; ++f) {
            const int type = m.Frames[static_cast<size_t>(f)].SecIdx;
            const int columns = type == kRigidBeam ? 3 : type == kCorotTruss || type == 0 ? 0 : 12;
            for (int c = 0; c < columns; ++c)
                main += " " + text::FormatGeneral(value(f, k, c));
            if (type == kCorotTruss) axial += " " + text::FormatGeneral(value(f, k, 0));
        }
        main += "\n";
        axial += "\n";
    }
    dir.write("ele0.out", main);
    dir.write("ele0_axial.out", axial);
}

TSettings LoadControl() {
    TSettings s;
    s.AnalysisType = kSingleLoadControl;
    s.LoadCase = 1;
    return s;
}

TEST(FrameForces, ColumnsAndComponentsOfEveryFrameType) {
    const std::vector<int> types = {1, 5, 6, 7, 2, 0, 8, 3, 4};
    const TModel m = FramesOfTypes(types, kLength);
    const ScratchFolder dir;
    WriteForceFiles(dir, m, 2);
    const TFrameForces forces = ReadFrameForces(m, LoadControl(), dir.path(), 2);
    EXPECT_DOUBLE_EQ(forces.Time, 0.5);
    EXPECT_DOUBLE_EQ(forces.Factors.LoadCase, 0.5);
    for (size_t k = 0; k < types.size(); ++k) {
        const int f = static_cast<int>(k) + 1;
        SCOPED_TRACE("frame " + std::to_string(f) + " of type " + std::to_string(types[k]));
        const TEndForces& e = forces.Ends[static_cast<size_t>(f)];
        switch (types[k]) {
        case kTruss: // N only: minus the axial force at I, the one at J
            EXPECT_EQ(forces.Kind[static_cast<size_t>(f)], ForceKind::Axial);
            EXPECT_EQ(e.I[kForceN], -Value(f, 2, 0));
            EXPECT_EQ(e.J[kForceN], Value(f, 2, 6));
            EXPECT_EQ(e.I[kForceMz], 0);
            break;
        case kCorotTruss: // from its axial force file, the same at both ends
            EXPECT_EQ(forces.Kind[static_cast<size_t>(f)], ForceKind::Axial);
            EXPECT_EQ(e.I[kForceN], Value(f, 2, 0));
            EXPECT_EQ(e.J[kForceN], Value(f, 2, 0));
            break;
        case kRigidBeam:
        case 0:
            EXPECT_EQ(forces.Kind[static_cast<size_t>(f)], ForceKind::None);
            EXPECT_EQ(e.I[kForceN], 0);
            break;
        default: // the forces on the element at I and J: the section forces are -I and J
            EXPECT_EQ(forces.Kind[static_cast<size_t>(f)], ForceKind::Beam);
            for (size_t c = 0; c < 6; ++c) {
                EXPECT_EQ(e.I[c], -Value(f, 2, static_cast<int>(c))) << c;
                EXPECT_EQ(e.J[c], Value(f, 2, static_cast<int>(c) + 6)) << c;
            }
        }
    }
}

// The axial force file of the corotational trusses belongs to the request: missing, or shorter
// than the element force file, the read is refused. (Line and number refusals are the shared
// parser's, tested with the node files.)
TEST(FrameForces, TheAxialForceFileIsPartOfTheRead) {
    const TModel m = FramesOfTypes({kElasticBeamColumn, kCorotTruss}, kLength);
    const ScratchFolder dir;
    WriteForceFiles(dir, m, 2);
    dir.write("ele0_axial.out", "0.25 7\n");
    EXPECT_EQ(ErrorOf([&] { ReadFrameForceEnvelope(m, LoadControl(), dir.path()); }),
              dir.file("ele0_axial.out") + ", line 2: the file ends after line 1; " +
                  dir.file("ele0.out") + " holds 2 lines");
    EXPECT_EQ(ErrorOf([&] { ReadFrameForces(m, LoadControl(), dir.path(), 2); }),
              dir.file("ele0_axial.out") +
                  ", line 2: the file ends after line 1 (step 2 was not recorded)");
    dir.remove("ele0_axial.out");
    EXPECT_EQ(ErrorOf([&] {
                  ReadFrameForces(m, LoadControl(), dir.path(), 1);
              }).rfind("Cannot open the result file " + dir.file("ele0_axial.out"), 0),
              0u);
}

// The factors of tests/cases/post/load-factors.case.
TEST(FrameForces, LoadFactorsOfEveryAnalysis) {
    for (const TestCase& c : ReadCases("post/load-factors.case")) {
        std::istringstream at(c.One("at"));
        TSettings s;
        int line = 0;
        double time = 0;
        at >> s.AnalysisType >> line >> time;
        s.LoadSteps = 10;
        const TLoadFactors f = LoadFactorsAt(s, line, time, HeldGravityLine(s) ? 0.9 : 0);
        const std::vector<std::string> gives = Words(c.One("gives"));
        EXPECT_EQ(f.LoadCase, std::stod(gives.at(0))) << c.where << ": " << c.title;
        EXPECT_EQ(f.LoadVector, std::stod(gives.at(1))) << c.where << ": " << c.title;
    }
    // A pushover read at a push step takes the gravity factor from the file's line LoadSteps.
    TModel m = FramesOfTypes({kElasticBeamColumn}, kLength);
    const ScratchFolder dir;
    WriteForceFiles(dir, m, 4);
    TSettings push;
    push.AnalysisType = kGravityPushover;
    push.LoadCase = 1;
    push.LoadVector = 2;
    push.LoadSteps = 2;
    const TFrameForces forces = ReadFrameForces(m, push, dir.path(), 4);
    EXPECT_DOUBLE_EQ(forces.Factors.LoadCase, 0.5);
    EXPECT_DOUBLE_EQ(forces.Factors.LoadVector, 1.0);
}

// Over three steps: the ends' extremes with their steps, and along a loaded beam the extreme
// between its ends (a fixed-ended beam whose uniform load grows with the load factor).
TEST(FrameForces, EnvelopeOverTheSteps) {
    TModel m = FramesOfTypes({kElasticBeamColumn, kElasticBeamColumn, kTruss}, kLength);
    const double w = 10, l = kLength;
    AddFrameLoad(m, 2, 1, 2, -w); // model direction 2: along the element's -z
    const ScratchFolder dir;
    // Frame 2 at line k (time and load factor 0.25 k): the fixed-ended beam under 0.25 k w.
    // Frames 1 and 3: values falling, rising and falling again.
    const auto value = [&](int f, int k, int c) {
        if (f == 2) {
            const double wk = 0.25 * k * w;
            const double end[12] = {0, 0, wk * l / 2, 0, -wk * l * l / 12, 0,
                                    0, 0, wk * l / 2, 0, wk * l * l / 12,  0};
            return end[c];
        }
        const double pattern[] = {3, -4, 2};
        return pattern[k - 1] * (c + 1);
    };
    WriteForceFiles(dir, m, 3, value);
    const TFrameForceEnvelope env = ReadFrameForceEnvelope(m, LoadControl(), dir.path());
    ASSERT_EQ(env.Steps, 3);
    const TComponentEnvelope& n1 = env.Frames[1][kForceN];
    EXPECT_EQ(n1.I.Min, -3); // minus the value at end I
    EXPECT_EQ(n1.I.MinStep, 1);
    EXPECT_EQ(n1.I.Max, 4);
    EXPECT_EQ(n1.I.MaxStep, 2);
    EXPECT_EQ(n1.J.Max, 7 * 3);
    EXPECT_EQ(n1.J.MaxStep, 1);
    EXPECT_EQ(n1.Along.Max.Value, 21);
    EXPECT_EQ(n1.Along.Max.X, l);
    EXPECT_EQ(env.Kind[3], ForceKind::Axial);
    EXPECT_EQ(env.Frames[3][kForceN].J.Min, -4 * 7);
    // The beam: w l^2 / 12 at its ends, -w l^2 / 24 at mid-span, largest at the last step.
    const TComponentEnvelope& my = env.Frames[2][kForceMy];
    const double w3 = 0.75 * w;
    EXPECT_NEAR(my.Along.Max.Value, w3 * l * l / 12, 1e-6);
    EXPECT_EQ(my.Along.Max.X, 0);
    EXPECT_NEAR(my.Along.Min.Value, -w3 * l * l / 24, 1e-3);
    EXPECT_NEAR(my.Along.Min.X, l / 2, 1e-6);
    EXPECT_EQ(my.Along.MinStep, 3);
    EXPECT_NEAR(my.I.Max, w3 * l * l / 12, 1e-6);
}

} // namespace
