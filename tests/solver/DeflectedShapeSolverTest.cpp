// A frame drawn curved from the recorded displacements and rotations of its ends is the elastic
// line: the cantilever of tests/data under its tip loads, at the middle of its length, is
// deflected by 5 P L^3 / 48 E I in each bending plane (the chord would give half the tip's).
#include "PostRuns.h"

#include "post/CurvedFrames.h"
#include "post/RecorderReaders.h"

namespace vandra::testing {
namespace {

class DeflectedShapeSolverTest : public SolverTest {};

TEST_F(DeflectedShapeSolverTest, CantileverMidLengthDeflection) {
    PostRun p = RunPost(ModelFile("cantilever_elastic/cantilever.s2k"),
                        {"AnalysisType=1", "LoadSteps=2", "RecOpt=1,0,0,0,0"});
    const TNodeField disp = ReadNodeStep(p.model, p.folder(), 2);
    const TNodeField rot = ReadNodeRotationStep(p.model, p.folder(), 2);
    // Tip loads 2000 N along X (bending about the section's strong axis, 200 mm deep) and 1000 N
    // along Y; L = 2000 mm, E = 200000.
    const double l = 2000, e = 200000;
    const double ix = 100.0 * 200 * 200 * 200 / 12, iy = 200.0 * 100 * 100 * 100 / 12;
    const auto motion = [&](int j) {
        const auto sj = static_cast<size_t>(j);
        return TJointMotion{{disp.X[sj], disp.Y[sj], disp.Z[sj]},
                            {rot.X[sj], rot.Y[sj], rot.Z[sj]}};
    };
    // The tip turns by P L^2 / 2 E I: about Y for the load along X.
    EXPECT_NEAR(rot.Y[2], 2000 * l * l / (2 * e * ix), 1e-3 * 2000 * l * l / (2 * e * ix));
    const TFrameGeometry g = FrameGeometryOf(p.model, 1);
    const double scale = 10;
    Vec3 points[5];
    CurvedFrame(g, motion(1), motion(2), scale, true, 5, points);
    const double midX = 5 * 2000 * l * l * l / (48 * e * ix);
    const double midY = 5 * 1000 * l * l * l / (48 * e * iy);
    EXPECT_NEAR(points[2][0], scale * midX, 1e-3 * scale * midX);
    EXPECT_NEAR(points[2][1], scale * midY, 1e-3 * scale * midY);
    EXPECT_NEAR(points[2][2], l / 2, 1e-6 * l);
    // A quarter of the way up: P x^2 (3 L - x) / 6 E I.
    const double x = l / 4;
    EXPECT_NEAR(points[1][0], scale * 2000 * x * x * (3 * l - x) / (6 * e * ix),
                1e-3 * scale * midX);
    // Drawn straight (a truss would be), the middle is at half the tip's deflection.
    CurvedFrame(g, motion(1), motion(2), scale, false, 5, points);
    EXPECT_NEAR(points[2][0], scale * disp.X[2] / 2, 1e-9);
}

} // namespace
} // namespace vandra::testing
