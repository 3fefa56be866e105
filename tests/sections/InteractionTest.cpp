// The interaction diagram against hand calculations: plastic steel sections, the balanced point of
// a doubly reinforced section, the squash load, symmetry, and with a softening concrete the peak
// of a moment-curvature walk at constant axial force. Refusals of sections the analysis cannot use.
#include "FiberSectionBuilder.h"

#include "model/Errors.h"
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

// The moment about the bending axis of the branch point of each sign at axial force P (one of the
// sampling's axialForces, which the point meets to within a billionth of the squash load); NaN
// when there is none.
struct BranchMoments {
    double positive = std::nan(""), negative = std::nan("");
};

double MomentAbout(BendingAxis axis, const SectionForce& f) {
    return axis == BendingAxis::Y ? f.My : f.Mz;
}

BranchMoments MomentsAt(const InteractionDiagram& d, double p, double squash) {
    BranchMoments m;
    for (const InteractionPoint& point : d.points) {
        if (std::fabs(point.force.P - p) > 1e-9 * std::fabs(squash)) continue;
        if (point.kind == InteractionPointKind::Positive)
            m.positive = MomentAbout(d.axis, point.force);
        if (point.kind == InteractionPointKind::Negative)
            m.negative = MomentAbout(d.axis, point.force);
    }
    return m;
}

InteractionDiagram DiagramWith(const AnalysisSection& s, BendingAxis axis,
                               std::vector<double> forces) {
    InteractionSampling sampling;
    sampling.axialForces = std::move(forces);
    return ComputeInteraction(s, axis, sampling);
}

// A 200 (y) by 400 (z) plastic steel rectangle, 20 by 40 cells.
constexpr double kFy = 250;
FiberSectionBuilder SteelRectangle(int law) {
    FiberSectionBuilder b;
    const int steel = b.Material(SteelLaw(law, kFy, 200000, 0));
    b.Cells(-100, 100, 20, -200, 200, 40, steel);
    return b;
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
    FiberSectionBuilder Build(bool topBars) const {
        FiberSectionBuilder s;
        const int concrete = s.Material(ConcreteLaw(kMatConcrete01, -fc, -ec0, -fc, -ecu));
        const int steel = s.Material(SteelLaw(kMatSteel01, fy, fy / ey, 0));
        s.Cells(-b / 2, b / 2, 1, -h / 2, h / 2, 250, concrete);
        if (topBars) s.Bar(0, -(h / 2 - cover), as, steel);
        s.Bar(0, h / 2 - cover, as, steel);
        return s;
    }
    // The compressed concrete of depth c at the crushing strain: its force (positive) and the
    // distance of its resultant from the compressed face (z = -h/2 under a positive My).
    std::pair<double, double> Block(double c) const {
        const double rho = ec0 / ecu, alpha = 1 - rho / 3;
        const double fromNeutralAxis = (0.5 - rho * rho / 12) / alpha;
        return {fc * b * c * alpha, c * (1 - fromNeutralAxis)};
    }
};

} // namespace

TEST(Interaction, ClosedFormMoments) {
    struct Case {
        const char* what;
        std::function<FiberSectionBuilder()> build;
        BendingAxis axis;
        double p;        // axial force of the point
        double moment;   // by hand, positive branch
        double relative; // tolerance
    };
    const double pyRect = -kFy * 200 * 400;
    const RcBeam rc;
    // Balanced: the crushing strain at the compressed face while the far bars reach yield; the
    // near bars yield too (0.0035 (c - 50) / c > 0.0025), so the bar forces cancel in P.
    const double cb = (rc.h - rc.cover) * rc.ecu / (rc.ecu + rc.ey);
    const auto [cBal, atBal] = rc.Block(cb);
    const double pBal = -cBal;
    const double mBal = cBal * (rc.h / 2 - atBal) + 2 * rc.as * rc.fy * (rc.h / 2 - rc.cover);
    // Without top bars at P = 0: the block balances the yielded bars, whose strain stays below
    // the steel limit (0.0035 (450 - c) / c = 0.0118).
    const double cSingle = rc.as * rc.fy / rc.Block(1).first;
    const double mSingle = rc.as * rc.fy * (rc.h - rc.cover - rc.Block(cSingle).second);
    // An I of 200 by 400, flanges 20, web 10 (one fiber row per flange, 36 in the web): Z fy.
    auto iSection = [] {
        FiberSectionBuilder b;
        const int steel = b.Material(SteelLaw(kMatSteel01, kFy, 200000, 0));
        b.Cells(-100, 100, 10, -200, -180, 1, steel);
        b.Cells(-100, 100, 10, 180, 200, 1, steel);
        b.Cells(-5, 5, 1, -180, 180, 36, steel);
        return b;
    };
    const double zI = 200 * 20 * 380 + 10 * 360.0 * 360 / 4;
    const Case cases[] = {
        {"Steel01 rectangle about y: Z fy", [] { return SteelRectangle(kMatSteel01); },
         BendingAxis::Y, 0, kFy * 200 * 400 * 400 / 4, 0.01},
        {"Steel01 rectangle about z: Z fy", [] { return SteelRectangle(kMatSteel01); },
         BendingAxis::Z, 0, kFy * 400 * 200 * 200 / 4, 0.01},
        {"Steel02 rectangle about y: Z fy", [] { return SteelRectangle(kMatSteel02); },
         BendingAxis::Y, 0, kFy * 200 * 400 * 400 / 4, 0.01},
        {"Steel01 rectangle at half its squash load", [] { return SteelRectangle(kMatSteel01); },
         BendingAxis::Y, pyRect / 2, PlasticRectangle(200, 400, 0.5), 0.003},
        {"Steel01 rectangle in tension", [] { return SteelRectangle(kMatSteel01); }, BendingAxis::Z,
         -pyRect * 0.7, PlasticRectangle(400, 200, 0.7), 0.003},
        {"I section about its strong axis: Z fy", iSection, BendingAxis::Y, 0, zI * kFy, 0.01},
        {"doubly reinforced: balanced point", [&] { return rc.Build(true); }, BendingAxis::Y, pBal,
         mBal, 0.005},
        {"singly reinforced in pure bending", [&] { return rc.Build(false); }, BendingAxis::Y, 0,
         mSingle, 0.005},
    };
    for (const Case& c : cases) {
        const AnalysisSection s = c.build().Prepare();
        const BranchMoments m = MomentsAt(DiagramWith(s, c.axis, {c.p}), c.p, SquashLoad(s));
        EXPECT_NEAR(m.positive, c.moment, c.relative * c.moment) << c.what;
    }
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
    double peak = -std::numeric_limits<double>::infinity();
    auto forceAt = [&](double axial, double kz) { return IntegrateSection(s, {axial, 0, kz}); };
    for (int i = 1;; ++i) {
        const double kz = step * i;
        double low = -std::numeric_limits<double>::infinity();
        double high = std::numeric_limits<double>::infinity();
        for (const AnalysisFiber& f : s.fibers) {
            const StrainRange r = AnalysisStrainRange(s.mats[static_cast<size_t>(f.mat)]);
            low = std::max(low, r.compression + f.y * kz);
            high = std::min(high, r.tension + f.y * kz);
        }
        if (low > high) break;
        const int scan = 100;
        double above = high, below = high;
        bool found = false;
        for (int k = 1; k <= scan && !found; ++k) {
            below = high + (low - high) * k / scan;
            found = forceAt(below, kz).P <= p;
            if (!found) above = below;
        }
        if (!found) continue;
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
    // Kent-Scott-Park concrete down to 20 % of its strength at 0.006: the largest moment at an
    // axial force comes before the face crushes, and the diagram must find it.
    FiberSectionBuilder b;
    const int concrete = b.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
    const int steel = b.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01));
    b.Cells(-200, 200, 40, -200, 200, 1, concrete);
    for (double y : {-150.0, 0.0, 150.0}) {
        b.Bar(y, -150, 314, steel);
        b.Bar(y, 150, 314, steel);
    }
    b.Bar(-150, 0, 314, steel);
    b.Bar(150, 0, 314, steel);
    const AnalysisSection s = b.Prepare();
    const double squash = SquashLoad(s);
    const std::vector<double> forces = {0.1 * squash, 0.3 * squash, 0.5 * squash};
    const InteractionDiagram d = DiagramWith(s, BendingAxis::Z, forces);
    for (double p : forces) {
        const double walked = MomentCurvaturePeak(s, p, 1e-7);
        EXPECT_NEAR(MomentsAt(d, p, squash).positive, walked, 0.005 * walked) << p / squash;
    }
}

TEST(Interaction, BranchPointsLieOnTheirStrainPlanes) {
    // Unsymmetric both ways, so that both moments of every point count.
    const AnalysisSection s = ReinforcedLSection().Prepare();
    const double squash = SquashLoad(s);
    for (BendingAxis axis : {BendingAxis::Y, BendingAxis::Z}) {
        const InteractionDiagram d = ComputeInteraction(s, axis);
        double scale = 0;
        for (const InteractionPoint& p : d.points)
            scale = std::max({scale, std::fabs(p.force.My), std::fabs(p.force.Mz)});
        for (const InteractionPoint& p : d.points) {
            if (p.kind != InteractionPointKind::Positive &&
                p.kind != InteractionPointKind::Negative)
                continue;
            // Bending about one axis: no curvature about the other.
            EXPECT_EQ(axis == BendingAxis::Y ? p.plane.curvatureZ : p.plane.curvatureY, 0);
            for (const AnalysisFiber& f : s.fibers) {
                const StrainRange r = AnalysisStrainRange(s.mats[static_cast<size_t>(f.mat)]);
                const double strain =
                    p.plane.axial - f.y * p.plane.curvatureZ + f.z * p.plane.curvatureY;
                EXPECT_TRUE(strain >= r.compression * (1 + 1e-9) &&
                            strain <= r.tension * (1 + 1e-9))
                    << strain;
            }
            const SectionForce f = IntegrateSection(s, p.plane);
            EXPECT_NEAR(f.P, p.force.P, 1e-9 * -squash);
            EXPECT_NEAR(f.My, p.force.My, 1e-9 * scale);
            EXPECT_NEAR(f.Mz, p.force.Mz, 1e-9 * scale);
        }
    }
}

TEST(Interaction, SectionsTheAnalysisCannotUseAreRefused) {
    struct Case {
        const char* what;
        std::function<void(FiberSectionBuilder&)> change;
        const char* message; // empty: accepted
    };
    auto mat = [](FiberSectionBuilder& b, int k) -> TMAT& {
        return b.model.Mats[static_cast<size_t>(k)];
    };
    const Case cases[] = {
        {"a sound section", [](FiberSectionBuilder&) {}, ""},
        {"no fibers", [](FiberSectionBuilder& b) { b.fibers.clear(); },
         "Frame section SEC has no fibers to analyse"},
        {"zero area", [](FiberSectionBuilder& b) { b.fibers[1].FibArea = 0; },
         "Frame section SEC: fiber 2 has area 0; every fiber needs a positive area"},
        {"negative area", [](FiberSectionBuilder& b) { b.fibers[2].FibArea = -5; },
         "Frame section SEC: fiber 3 has area -5; every fiber needs a positive area"},
        {"area not a number", [](FiberSectionBuilder& b) { b.fibers[1].FibArea = std::nan(""); },
         "Frame section SEC: fiber 2 has area NAN; every fiber needs a positive area"},
        {"infinite position",
         [](FiberSectionBuilder& b) { b.fibers[0].FibZ = std::numeric_limits<double>::infinity(); },
         "Frame section SEC: fiber 1 has a position that is not finite"},
        {"material beyond the table", [](FiberSectionBuilder& b) { b.fibers[2].FibMat = 4; },
         "Frame section SEC: fiber 3 refers to material 4, which the model does not have"},
        {"material counted out", [](FiberSectionBuilder& b) { b.model.MatCount = 1; },
         "Frame section SEC: fiber 3 refers to material 2, which the model does not have"},
        {"no material", [](FiberSectionBuilder& b) { b.fibers[0].FibMat = 0; },
         "Frame section SEC: fiber 1 refers to material 0, which the model does not have"},
        {"elastic", [&](FiberSectionBuilder& b) { mat(b, 1).MatType = kMatElastic; },
         "Frame section SEC: material C01 is elastic, so its fibers have no strength; give it a "
         "steel or concrete law"},
        {"no law", [&](FiberSectionBuilder& b) { mat(b, 2).MatType = 0; },
         "Frame section SEC: material S01 has no material law"},
        {"steel without strength", [&](FiberSectionBuilder& b) { mat(b, 2).Fy = 0; },
         "Frame section SEC: material S01: the yield stress Fy must be positive, not 0"},
        {"steel without stiffness", [&](FiberSectionBuilder& b) { mat(b, 2).E0 = -1; },
         "Frame section SEC: material S01: the initial modulus E0 must be positive, not -1"},
        {"steel hardening as steeply as it loads", [&](FiberSectionBuilder& b) { mat(b, 2).b = 1; },
         "Frame section SEC: material S01: the hardening ratio b must be at least 0 and below 1, "
         "not 1"},
        {"Steel02 without R0",
         [&](FiberSectionBuilder& b) {
             mat(b, 2).MatType = kMatSteel02;
             mat(b, 2).R0 = 0;
         },
         "Frame section SEC: material S01: R0 must be positive, not 0"},
        {"Steel02 whose R is 0 / 0 on first loading",
         [&](FiberSectionBuilder& b) {
             mat(b, 2).MatType = kMatSteel02;
             mat(b, 2).cR2 = 0;
         },
         "Frame section SEC: material S01: cR2 must be positive, not 0"},
        {"parameter not finite",
         [&](FiberSectionBuilder& b) { mat(b, 2).b = std::numeric_limits<double>::infinity(); },
         "Frame section SEC: material S01: b is not a finite number"},
        {"concrete in tension", [&](FiberSectionBuilder& b) { mat(b, 1).fpc = 30; },
         "Frame section SEC: material C01: the concrete strength fpc must be negative "
         "(compression), not 30"},
        {"peak strain positive", [&](FiberSectionBuilder& b) { mat(b, 1).epsc0 = 0.002; },
         "Frame section SEC: material C01: the strain at strength epsc0 must be negative, not "
         "0.002"},
        {"no crushing strain", [&](FiberSectionBuilder& b) { mat(b, 1).epsU = 0; },
         "Frame section SEC: material C01: the crushing strain epsU must be negative, not 0"},
        {"crushing strength positive", [&](FiberSectionBuilder& b) { mat(b, 1).fpcu = 6; },
         "Frame section SEC: material C01: the crushing strength fpcu must not be positive, not 6"},
        {"negative tensile strength",
         [&](FiberSectionBuilder& b) {
             mat(b, 1).MatType = kMatConcrete02;
             mat(b, 1).ft = -3;
         },
         "Frame section SEC: material C01: the tensile strength ft must not be negative, not -3"},
        {"negative softening",
         [&](FiberSectionBuilder& b) {
             mat(b, 1).MatType = kMatConcrete02;
             mat(b, 1).Ets = -1;
         },
         "Frame section SEC: material C01: the tension softening Ets must not be negative, not -1"},
        {"a broken material no fiber uses", [&](FiberSectionBuilder& b) { b.Material(TMAT{}); },
         ""},
    };
    for (const Case& c : cases) {
        FiberSectionBuilder b;
        const int concrete = b.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
        const int steel = b.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01));
        b.Cells(-100, 100, 1, -100, 100, 2, concrete);
        b.Bar(0, 50, 300, steel);
        c.change(b);
        if (*c.message == '\0') {
            EXPECT_NO_THROW(b.Prepare()) << c.what;
            continue;
        }
        try {
            b.Prepare();
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.what;
        }
    }

    FiberSectionBuilder b;
    b.Cells(-1, 1, 1, -1, 1, 2, b.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01)));
    InteractionSampling coarse;
    coarse.planeDirections = 4;
    EXPECT_THROW(ComputeInteraction(b.Prepare(), BendingAxis::Y, coarse), UsageError);
}
