// Defaults of the material laws: ratios of E, so that they are sound in any unit system, and
// round for round moduli.
#include "model/MaterialLaws.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

using namespace vandra;

TEST(MaterialLaws, DefaultsFollowTheModulusInAnyUnits) {
    struct Case {
        const char* units;
        int law;
        double e;
        std::vector<double> params;
    };
    const Case cases[] = {
        {"concrete N-mm", kMatConcrete02, 25000, {-30, -0.002, -6, -0.006, 0.1, 3, 1500}},
        {"concrete kN-m", kMatConcrete02, 2.5e7, {-30000, -0.002, -6000, -0.006, 0.1, 3000, 1.5e6}},
        {"concrete kgf-cm", kMatConcrete01, 250000, {-300, -0.002, -60, -0.006}},
        {"steel N-mm", kMatSteel02, 200000, {250, 200000, 0.01, 18, 0.925, 0.15}},
        {"steel kN-m", kMatSteel01, 2e8, {250000, 2e8, 0.01}},
        {"elastic", kMatElastic, 30000, {}},
    };
    for (const Case& c : cases) {
        TMAT mat;
        mat.Name = "M";
        mat.MatType = kMatElastic;
        mat.E = c.e;
        ChooseMaterialLaw(mat, c.law);
        EXPECT_EQ(mat.MatType, c.law) << c.units;
        const MaterialLaw* law = FindMaterialLaw(c.law);
        ASSERT_NE(law, nullptr);
        ASSERT_EQ(law->params.size(), c.params.size()) << c.units;
        for (size_t k = 0; k < c.params.size(); ++k)
            EXPECT_DOUBLE_EQ(mat.*law->params[k].field, c.params[k])
                << c.units << " " << law->params[k].name;
        EXPECT_NO_THROW(CheckMaterialLaw(mat)) << c.units;
    }
}

TEST(MaterialLaws, ChosenValuesStayAndUnknownCodesAreRefused) {
    TMAT mat;
    mat.Name = "M";
    mat.E = 25000;
    mat.fpc = -40;
    mat.lambda = 0.2;
    ChooseMaterialLaw(mat, kMatConcrete02);
    EXPECT_EQ(mat.fpc, -40);
    EXPECT_EQ(mat.fpcu, -8);
    EXPECT_EQ(mat.lambda, 0.2);
    EXPECT_EQ(mat.ft, 4);
    for (int code : {0, 6, -1}) {
        TMAT before = mat;
        EXPECT_THROW(ChooseMaterialLaw(mat, code), UsageError) << code;
        EXPECT_EQ(mat.MatType, before.MatType);
    }
    EXPECT_EQ(FindMaterialParam("cR1")->field, &TMAT::cR1);
    EXPECT_EQ(FindMaterialParam("CR1"), nullptr);
}
