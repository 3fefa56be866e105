// The interaction diagram against hand calculations: plastic steel sections, the balanced point of
// a doubly reinforced section, the squash load, symmetry, and with a softening concrete the peak
// of a moment-curvature walk at constant axial force. Refusals of sections the analysis cannot use.
#include "CaseFile.h"
#include "FiberSectionBuilder.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "sections/Interaction.h"
#include "sections/MaterialResponse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The moment about the axis of the positive branch at axial force p (asked of the diagram as a
// level of its own); NaN when no admissible plane reaches p.
double MomentAt(const AnalysisSection& s, BendingAxis axis, double p) {
    InteractionSampling sampling;
    sampling.axialForces = {p};
    for (const InteractionPoint& point : ComputeInteraction(s, axis, sampling).points)
        if (point.kind == InteractionPointKind::Positive &&
            std::fabs(point.force.P - p) <= 1e-9 * -SquashLoad(s))
            return axis == BendingAxis::Y ? point.force.My : point.force.Mz;
    return std::nan("");
}

// A plastic steel rectangle 200 wide (y) and 400 deep (z), 20 by 40 cells.
constexpr double kFy = 250;
AnalysisSection SteelRectangle(int law) {
    FiberSectionBuilder b;
    b.Cells(-100, 100, 20, -200, 200, 40, b.Material(SteelLaw(law, kFy, 200000, 0)));
    return b.Prepare();
}

// The plastic moment of a width w and depth h at axial force p Py, less the elastic core that
// remains when the fiber farthest from the neutral axis is at ten times the yield strain.
double PlasticRectangle(double w, double h, double p) {
    const double core = h / 2 * (1 + std::fabs(p)) / 10;
    return kFy * w * h * h / 4 * (1 - p * p) - kFy * w * core * core / 3;
}

// Concrete without softening (a parabola-rectangle to 0.0035) and plastic steel of yield strain
// 0.0025: a 300 (y) by 500 (z) section, 250 layers, bars of 1500 at 50 from the faces.
struct RcBeam {
    double b = 300, h = 500, cover = 50, as = 1500, fy = 500, fc = 30;
    double ecu = 0.0035, ec0 = 0.002, ey = 0.0025;
    AnalysisSection Build(bool topBars) const {
        FiberSectionBuilder s;
        const int concrete = s.Material(ConcreteLaw(kMatConcrete01, -fc, -ec0, -fc, -ecu));
        const int steel = s.Material(SteelLaw(kMatSteel01, fy, fy / ey, 0));
        s.Cells(-b / 2, b / 2, 1, -h / 2, h / 2, 250, concrete);
        if (topBars) s.Bar(0, -(h / 2 - cover), as, steel);
        s.Bar(0, h / 2 - cover, as, steel);
        return s.Prepare();
    }
    // The compressed concrete of depth c at the crushing strain: its force (positive) and the
    // distance of its resultant from the compressed face (z = -h/2 under a positive My).
    std::pair<double, double> Block(double c) const {
        const double rho = ec0 / ecu, alpha = 1 - rho / 3;
        return {fc * b * c * alpha, c * (1 - (0.5 - rho * rho / 12) / alpha)};
    }
};

} // namespace

TEST(Interaction, ClosedFormMoments) {
    const AnalysisSection rect01 = SteelRectangle(kMatSteel01);
    const AnalysisSection rect02 = SteelRectangle(kMatSteel02);
    const double py = kFy * 200 * 400;
    // An I of 200 by 400, flanges 20, web 10 (one fiber row per flange, 36 in the web).
    FiberSectionBuilder i;
    const int steel = i.Material(SteelLaw(kMatSteel01, kFy, 200000, 0));
    i.Cells(-100, 100, 10, -200, -180, 1, steel);
    i.Cells(-100, 100, 10, 180, 200, 1, steel);
    i.Cells(-5, 5, 1, -180, 180, 36, steel);
    const double zI = 200 * 20 * 380 + 10 * 360.0 * 360 / 4;
    // Balanced: the crushing strain at the compressed face while the far bars reach yield; the
    // near bars yield too (0.0035 (c - 50) / c > 0.0025), so the bar forces cancel in P.
    const RcBeam rc;
    const auto [cBal, atBal] = rc.Block((rc.h - rc.cover) * rc.ecu / (rc.ecu + rc.ey));
    const double mBal = cBal * (rc.h / 2 - atBal) + 2 * rc.as * rc.fy * (rc.h / 2 - rc.cover);
    // Without top bars at P = 0: the block balances the yielded bars, whose strain stays below
    // the steel limit (0.0035 (450 - c) / c = 0.0118).
    const double cSingle = rc.as * rc.fy / rc.Block(1).first;
    const double mSingle = rc.as * rc.fy * (rc.h - rc.cover - rc.Block(cSingle).second);
    struct Case {
        const char* what;
        AnalysisSection section;
        BendingAxis axis;
        double p, moment, relative; // axial force, moment by hand, tolerance
    };
    const Case cases[] = {
        {"Steel01 rectangle about y: Z fy", rect01, BendingAxis::Y, 0, py * 400 / 4, 0.01},
        {"Steel01 rectangle about z: Z fy", rect01, BendingAxis::Z, 0, py * 200 / 4, 0.01},
        {"Steel02 rectangle about y: Z fy", rect02, BendingAxis::Y, 0, py * 400 / 4, 0.01},
        {"rectangle at half its squash load", rect01, BendingAxis::Y, -py / 2,
         PlasticRectangle(200, 400, 0.5), 0.003},
        {"rectangle in tension", rect01, BendingAxis::Z, 0.7 * py, PlasticRectangle(400, 200, 0.7),
         0.003},
        {"I section about its strong axis: Z fy", i.Prepare(), BendingAxis::Y, 0, zI * kFy, 0.01},
        {"doubly reinforced: balanced point", rc.Build(true), BendingAxis::Y, -cBal, mBal, 0.005},
        {"singly reinforced in pure bending", rc.Build(false), BendingAxis::Y, 0, mSingle, 0.005},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MomentAt(c.section, c.axis, c.p), c.moment, c.relative * c.moment) << c.what;
}

TEST(Interaction, PureCompressionIsTheSumOfFiberStrengths) {
    // Unequal bars: the plastic centroid lies off the area centroid, about which the solver and
    // the diagram take moments.
    FiberSectionBuilder b;
    const int concrete = b.Material(ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500));
    const int steel = b.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01));
    b.Cells(-150, 150, 6, -250, 250, 10, concrete);
    b.Bar(-100, 200, 1000, steel);
    b.Bar(100, 200, 1000, steel);
    b.Bar(0, -200, 500, steel);
    const AnalysisSection s = b.Prepare();

    const double steelStrength = 400 + 0.01 * 200000 * (0.02 - 0.002); // hardened to 10 Fy/E0
    const double squash = -(30 * 300 * 500 + steelStrength * 2500);
    const double zc = (2000 * 200 - 500 * 200) / (300.0 * 500 + 2500);
    const double my = -steelStrength * (2000 * (200 - zc) - 500 * (200 + zc)) + 30 * 150000 * zc;
    EXPECT_NEAR(SquashLoad(s), squash, 1e-9 * -squash);
    for (BendingAxis axis : {BendingAxis::Y, BendingAxis::Z}) {
        const InteractionDiagram d = ComputeInteraction(s, axis);
        ASSERT_FALSE(d.points.empty());
        const InteractionPoint& first = d.points.front();
        EXPECT_EQ(first.kind, InteractionPointKind::PureCompression);
        EXPECT_NEAR(first.force.P, squash, 1e-9 * -squash);
        EXPECT_NEAR(first.force.My, my, 1e-6 * std::fabs(my));
        EXPECT_NEAR(first.force.Mz, 0, 1e-6 * std::fabs(my));
        // Pure tension: the bars at their limit strain, the concrete softened away.
        const auto tension = std::find_if(d.points.begin(), d.points.end(), [](const auto& p) {
            return p.kind == InteractionPointKind::PureTension;
        });
        ASSERT_NE(tension, d.points.end());
        EXPECT_NEAR(tension->force.P, steelStrength * 2500, 1e-9 * steelStrength * 2500);
    }
}

TEST(Interaction, SymmetricSectionGivesASymmetricDiagram) {
    // 400 square, 20 by 20 cells, 12 bars spaced alike on every face.
    FiberSectionBuilder b;
    const int concrete = b.Material(ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500));
    const int steel = b.Material(SteelLaw(kMatSteel02, 400, 200000, 0.01, 18));
    b.Cells(-200, 200, 20, -200, 200, 20, concrete);
    for (double t : {-150.0, -50.0, 50.0, 150.0}) {
        b.Bar(t, -150, 314, steel);
        b.Bar(t, 150, 314, steel);
        if (std::fabs(t) < 100) {
            b.Bar(-150, t, 314, steel);
            b.Bar(150, t, 314, steel);
        }
    }
    const AnalysisSection s = b.Prepare();
    const InteractionDiagram y = ComputeInteraction(s, BendingAxis::Y);
    const InteractionDiagram z = ComputeInteraction(s, BendingAxis::Z);
    double scale = 0;
    for (const InteractionPoint& p : z.points)
        scale = std::max(scale, std::fabs(p.force.Mz));
    ASSERT_GT(scale, 0);
    ASSERT_EQ(y.points.size(), z.points.size());
    const size_t n = z.points.size();
    size_t branchPoints = 0;
    for (size_t i = 0; i < n; ++i) {
        const InteractionPoint& p = z.points[i];
        // Bending about y is bending about z turned a quarter round.
        EXPECT_NEAR(y.points[i].force.P, p.force.P, 1e-9 * std::fabs(p.force.P) + 1e-6);
        EXPECT_NEAR(y.points[i].force.My, p.force.Mz, 1e-9 * scale);
        EXPECT_NEAR(y.points[i].force.Mz, 0, 1e-9 * scale);
        EXPECT_NEAR(p.force.My, 0, 1e-9 * scale);
        if (p.kind != InteractionPointKind::Positive) continue;
        ++branchPoints;
        // The negative branch mirrors the positive one, in reverse order.
        const InteractionPoint& mirror = z.points[n - i];
        EXPECT_EQ(mirror.kind, InteractionPointKind::Negative);
        EXPECT_NEAR(mirror.force.P, p.force.P, 1e-9 * std::fabs(z.points.front().force.P));
        EXPECT_NEAR(mirror.force.Mz, -p.force.Mz, 1e-9 * scale);
    }
    EXPECT_GE(branchPoints, 40u);
}

namespace {

// The largest moment about z of a moment-curvature walk at constant axial force P: the
// curvature grows in small steps while every fiber stays in its strain range; at each step the
// axial strain is the first, from the tension side, that gives P.
double MomentCurvaturePeak(const AnalysisSection& s, double p, double step) {
    double peak = -kInf;
    auto forceAt = [&](double axial, double kz) { return IntegrateSection(s, {axial, 0, kz}); };
    for (int i = 1;; ++i) {
        const double kz = step * i;
        double low = -kInf, high = kInf;
        for (const AnalysisFiber& f : s.fibers) {
            const StrainRange r = AnalysisStrainRange(s.mats[static_cast<size_t>(f.mat)]);
            low = std::max(low, r.compression + f.y * kz);
            high = std::min(high, r.tension + f.y * kz);
        }
        if (low > high) break;
        if (forceAt(high, kz).P <= p) continue; // no tension side left at this curvature
        double above = high, below = high;
        for (int k = 1; k <= 100 && forceAt(below, kz).P > p; ++k) {
            above = below;
            below = high + (low - high) * k / 100;
        }
        if (forceAt(below, kz).P > p) continue;
        for (int k = 0; k < 60; ++k) {
            const double mid = (above + below) / 2;
            (forceAt(mid, kz).P <= p ? below : above) = mid;
        }
        peak = std::max(peak, forceAt((above + below) / 2, kz).Mz);
    }
    return peak;
}

} // namespace

TEST(Interaction, SofteningConcreteReachesThePeakOfMomentCurvature) {
    // Concrete02 down to 20 % of its strength at 0.006: at an axial force the largest moment
    // comes before the face crushes, and the diagram must find it. The section is unsymmetric
    // both ways, so that both moments of every point count.
    const AnalysisSection s = ReinforcedLSection().Prepare();
    const double squash = SquashLoad(s);
    for (double p : {-0.05 * squash, 0.1 * squash, 0.3 * squash, 0.5 * squash}) {
        const double walked = MomentCurvaturePeak(s, p, 1e-7);
        EXPECT_NEAR(MomentAt(s, BendingAxis::Z, p), walked, 0.005 * std::fabs(walked)) << p;
    }

    // Every branch point is the admissible plane it names, bent about the diagram's axis alone.
    for (BendingAxis axis : {BendingAxis::Y, BendingAxis::Z}) {
        for (const InteractionPoint& p : ComputeInteraction(s, axis).points) {
            if (p.kind != InteractionPointKind::Positive &&
                p.kind != InteractionPointKind::Negative)
                continue;
            EXPECT_EQ(axis == BendingAxis::Y ? p.plane.curvatureZ : p.plane.curvatureY, 0);
            for (const AnalysisFiber& f : s.fibers) {
                const StrainRange r = AnalysisStrainRange(s.mats[static_cast<size_t>(f.mat)]);
                const double e =
                    p.plane.axial - f.y * p.plane.curvatureZ + f.z * p.plane.curvatureY;
                EXPECT_TRUE(e >= r.compression * (1 + 1e-9) && e <= r.tension * (1 + 1e-9)) << e;
            }
            const SectionForce f = IntegrateSection(s, p.plane);
            EXPECT_NEAR(f.P, p.force.P, 1e-9 * -squash);
            EXPECT_NEAR(f.My, p.force.My, 1e-9 * -squash * 600);
            EXPECT_NEAR(f.Mz, p.force.Mz, 1e-9 * -squash * 600);
        }
    }
}

// The cases of tests/cases/sections/analysis-refusals.case; a diagram of too few plane directions
// is a caller's fault.
TEST(Interaction, SectionsTheAnalysisCannotUseAreRefused) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("sections/analysis-refusals.case")) {
        FiberSectionBuilder b;
        const int concrete = b.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
        b.Cells(-100, 100, 1, -100, 100, 2, concrete);
        b.Bar(0, 50, 300, b.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01)));
        for (const std::string& change : vandra::testing::Words(c.One("change"))) {
            if (change == "no-fibers") b.fibers.clear();
            if (change == "unused-material") b.Material(TMAT{});
            const size_t first = change.find('.'), dot = change.find('.', first + 1);
            const size_t eq = change.find('=');
            if (eq == std::string::npos) continue;
            const size_t k = std::stoul(change.substr(first + 1));
            const std::string field = change.substr(dot + 1, eq - dot - 1);
            const double v = std::stod(change.substr(eq + 1));
            if (change.starts_with("fiber.")) {
                TFIBER& f = b.fibers[k - 1];
                if (field == "FibMat") f.FibMat = static_cast<int>(v);
                else (field == "FibArea" ? f.FibArea : f.FibZ) = v;
            } else if (field == "MatType") {
                b.model.Mats[k].MatType = static_cast<int>(v);
            } else {
                b.model.Mats[k].*FindMaterialParam(field)->field = v;
            }
        }
        std::string refusal = "accepted";
        try {
            b.Prepare("B1");
        } catch (const InputError& e) {
            refusal = e.what();
        }
        EXPECT_EQ(refusal, c.One("error")) << c.where << ": " << c.title;
    }

    FiberSectionBuilder b;
    b.Cells(-1, 1, 1, -1, 1, 2, b.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01)));
    InteractionSampling coarse;
    coarse.planeDirections = 4;
    EXPECT_THROW(ComputeInteraction(b.Prepare(), BendingAxis::Y, coarse), UsageError);
}
