// The checks that refuse a section layout or a material law that would be silently wrong.
#include "CaseFile.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "sections/Fibers.h"

#include <gtest/gtest.h>

#include <map>
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

template <typename Check> std::string Refusal(Check check) {
    try {
        check();
    } catch (const InputError& e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

// The cases of tests/cases/sections/layout-refusals.case.
TEST(LayoutCheck, RefusesLayoutsAndLawsThatWouldBeSilentlyWrong) {
    const std::map<std::string, int TSECTION::*> integers = {
        {"FrameType", &TSECTION::FrameType}, {"Shape", &TSECTION::Shape},
        {"DivideFX", &TSECTION::DivideFX},   {"DivideFY", &TSECTION::DivideFY},
        {"BarNumNX", &TSECTION::BarNumNX},   {"BarNumNY", &TSECTION::BarNumNY}};
    const std::map<std::string, double TSECTION::*> numbers = {{"HingeLenJ", &TSECTION::HingeLenJ},
                                                               {"BarTop", &TSECTION::BarTop},
                                                               {"Cover", &TSECTION::Cover}};
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("sections/layout-refusals.case")) {
        std::vector<std::string> changes = vandra::testing::Words(c.One(c.Has("law") ? "law" : "section"));
        TSECTION s = Column();
        TMAT m;
        m.Name = "M1";
        m.E = 30000;
        if (c.Has("law")) ChooseMaterialLaw(m, std::stoi(changes[0]));
        for (size_t k = c.Has("law") ? 1 : 0; k < changes.size(); ++k) {
            const size_t eq = changes[k].find('=');
            const std::string name = changes[k].substr(0, eq);
            const double v = std::stod(changes[k].substr(eq + 1));
            if (c.Has("law")) m.*FindMaterialParam(name)->field = v;
            else if (integers.contains(name)) s.*integers.at(name) = static_cast<int>(v);
            else if (numbers.contains(name)) s.*numbers.at(name) = v;
            else if (name == "T2") s.T[2] = v;
            else ADD_FAILURE() << c.where << ": no field " << name;
        }
        const std::string refusal = c.Has("law") ? Refusal([&] { CheckMaterialLaw(m); })
                                                 : Refusal([&] { CheckFiberLayout(s); });
        EXPECT_EQ(refusal, c.One("error")) << c.where << ": " << c.title;
    }
}
