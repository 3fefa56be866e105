// The checks that refuse a section layout or a material law that would be silently wrong: each
// change of a sound 400 x 400 column (or of a sound concrete and steel) and the exact refusal.
#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "sections/Fibers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace vandra;

namespace {

TSECTION Column() {
    TSECTION s;
    s.Name = "NCOL400";
    s.Shape = kShapeRectangle;
    s.T[1] = s.T[2] = 400;
    s.FrameType = kNonlinearBeamColumn;
    s.SectionKind = kColumnSection;
    s.DivideFX = s.DivideFY = s.BarNumNX = s.BarNumNY = 5;
    s.Cover = 35;
    s.BarTop = s.BarBot = 1000;
    return s;
}

TMAT Law(int type) {
    TMAT m;
    m.Name = "M1";
    m.E = 30000;
    ChooseMaterialLaw(m, type);
    return m;
}

template <typename Check> std::string Refusal(Check check) {
    try {
        check();
    } catch (const InputError& e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

TEST(LayoutCheck, RefusesLayoutsThatWouldBeSilentlyWrong) {
    const struct {
        const char* what;
        std::function<void(TSECTION&)> change;
        std::string message;
    } cases[] = {
        {"sound", [](TSECTION&) {}, "accepted"},
        {"no concrete fibers", [](TSECTION& s) { s.DivideFX = 0; },
         "Frame section NCOL400: DivideFX must be at least 1, not 0"},
        {"negative division", [](TSECTION& s) { s.DivideFY = -3; },
         "Frame section NCOL400: DivideFY must be at least 1, not -3"},
        {"no bars on a face with bars", [](TSECTION& s) { s.BarNumNY = 0; },
         "Frame section NCOL400: BarNumNY must be at least 2 to carry the bar area BarBot = 1000, "
         "not 0"},
        {"one bar: no corners", [](TSECTION& s) { s.BarNumNX = 1; },
         "Frame section NCOL400: BarNumNX must be at least 2 to carry the bar area BarTop = 1000, "
         "not 1"},
        {"a negative hinge", [](TSECTION& s) { s.FrameType = kBeamWithHinge, s.HingeLenJ = -1; },
         "Frame section NCOL400: the hinge length HingeLenJ must not be negative, not -1"},
        {"no bars and no bar area", [](TSECTION& s) { s.BarNumNX = 0, s.BarTop = 0; }, "accepted"},
        {"negative bar area", [](TSECTION& s) { s.BarTop = -1; },
         "Frame section NCOL400: the bar area BarTop must not be negative, not -1"},
        {"bars outside", [](TSECTION& s) { s.Cover = 1000; },
         "Frame section NCOL400: Cover 1000 puts the bars outside the 400 x 400 section (the cover "
         "must lie from 0 to less than half of 400)"},
        {"bars on the centre line", [](TSECTION& s) { s.T[2] = 70; },
         "Frame section NCOL400: Cover 35 puts the bars outside the 70 x 400 section (the cover "
         "must lie from 0 to less than half of 70)"},
        {"negative cover", [](TSECTION& s) { s.Cover = -5; },
         "Frame section NCOL400: Cover -5 puts the bars outside the 400 x 400 section (the cover "
         "must lie from 0 to less than half of 400)"},
        {"an elastic section draws no fibers",
         [](TSECTION& s) { s.FrameType = kElasticBeamColumn, s.DivideFX = 0; }, "accepted"},
        {"a ring of two fibers", [](TSECTION& s) { s.Shape = kShapePipe, s.DivideFX = 2; },
         "Frame section NCOL400: DivideFX must be at least 3, not 2"},
        {"an I without web fibers", [](TSECTION& s) { s.Shape = kShapeI, s.DivideFY = 0; },
         "Frame section NCOL400: DivideFY must be at least 1, not 0"},
    };
    for (const auto& c : cases) {
        TSECTION s = Column();
        c.change(s);
        EXPECT_EQ(Refusal([&] { CheckFiberLayout(s); }), c.message) << c.what;
    }
}

TEST(LayoutCheck, RefusesMaterialLawsWithoutAStrengthOrAStiffness) {
    const struct {
        int type;
        std::function<void(TMAT&)> change;
        std::string message;
    } cases[] = {
        {kMatConcrete02, [](TMAT&) {}, "accepted"},
        {kMatConcrete02, [](TMAT& m) { m.epsc0 = 0.002; },
         "Material M1: the concrete strain at strength epsc0 must be negative (compression), not "
         "0.002"},
        {kMatConcrete01, [](TMAT& m) { m.epsc0 = 0; },
         "Material M1: the concrete strain at strength epsc0 must be negative (compression), not "
         "0"},
        {kMatSteel02, [](TMAT&) {}, "accepted"},
        {kMatSteel02, [](TMAT& m) { m.E0 = -200000; },
         "Material M1: the steel elastic modulus E0 must be positive, not -200000"},
        {kMatSteel01, [](TMAT& m) { m.E0 = 0; },
         "Material M1: the steel elastic modulus E0 must be positive, not 0"},
        {kMatSteel02, [](TMAT& m) { m.b = 1; },
         "Material M1: the hardening ratio b must be at least 0 and below 1, not 1"},
        {kMatConcrete02, [](TMAT& m) { m.epsU = -0.001; },
         "Material M1: the crushing strain epsU must be at least as large in size as epsc0, not "
         "-0.001"},
    };
    for (const auto& c : cases) {
        TMAT m = Law(c.type);
        c.change(m);
        EXPECT_EQ(Refusal([&] { CheckMaterialLaw(m); }), c.message) << c.type;
    }
}
