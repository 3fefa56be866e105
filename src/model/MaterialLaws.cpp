#include "model/MaterialLaws.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <array>
#include <string>

namespace vandra {
namespace {

constexpr MaterialParam kSteel01[] = {{"Fy", &TMAT::Fy}, {"E0", &TMAT::E0}, {"b", &TMAT::b}};
constexpr MaterialParam kSteel02[] = {{"Fy", &TMAT::Fy}, {"E0", &TMAT::E0},   {"b", &TMAT::b},
                                      {"R0", &TMAT::R0}, {"cR1", &TMAT::cR1}, {"cR2", &TMAT::cR2}};
constexpr MaterialParam kConcrete01[] = {
    {"fpc", &TMAT::fpc}, {"epsc0", &TMAT::epsc0}, {"fpcu", &TMAT::fpcu}, {"epsU", &TMAT::epsU}};
constexpr MaterialParam kConcrete02[] = {{"fpc", &TMAT::fpc},       {"epsc0", &TMAT::epsc0},
                                         {"fpcu", &TMAT::fpcu},     {"epsU", &TMAT::epsU},
                                         {"lambda", &TMAT::lambda}, {"ft", &TMAT::ft},
                                         {"Ets", &TMAT::Ets}};
constexpr MaterialParam kAll[] = {
    {"Fy", &TMAT::Fy},     {"E0", &TMAT::E0},         {"b", &TMAT::b},
    {"R0", &TMAT::R0},     {"cR1", &TMAT::cR1},       {"cR2", &TMAT::cR2},
    {"fpc", &TMAT::fpc},   {"epsc0", &TMAT::epsc0},   {"fpcu", &TMAT::fpcu},
    {"epsU", &TMAT::epsU}, {"lambda", &TMAT::lambda}, {"ft", &TMAT::ft},
    {"Ets", &TMAT::Ets}};

const std::array<MaterialLaw, 5> kLaws = {{
    {kMatElastic, "Elastic", {}},
    {kMatSteel01, "Steel01", kSteel01},
    {kMatConcrete01, "Concrete01", kConcrete01},
    {kMatSteel02, "Steel02", kSteel02},
    {kMatConcrete02, "Concrete02", kConcrete02},
}};

// The default of one parameter, from E and the parameters defaulted before it. Written as
// divisions by whole numbers so that round moduli give round defaults (25000 gives fpc -30).
double DefaultOf(const TMAT& m, double TMAT::*field) {
    if (field == &TMAT::Fy) return m.E / 800;
    if (field == &TMAT::E0) return m.E;
    if (field == &TMAT::b) return 0.01;
    if (field == &TMAT::R0) return 18;
    if (field == &TMAT::cR1) return 0.925;
    if (field == &TMAT::cR2) return 0.15;
    if (field == &TMAT::fpc) return -m.E * 12 / 10000;
    if (field == &TMAT::epsc0) return -0.002;
    if (field == &TMAT::fpcu) return m.fpc / 5;
    if (field == &TMAT::epsU) return -0.006;
    if (field == &TMAT::lambda) return 0.1;
    if (field == &TMAT::ft) return -m.fpc / 10;
    return m.ft * 500; // Ets = ft / 0.002
}

} // namespace

std::span<const MaterialLaw> MaterialLaws() {
    return kLaws;
}

const MaterialLaw* FindMaterialLaw(int matType) {
    for (const MaterialLaw& law : kLaws)
        if (law.type == matType) return &law;
    return nullptr;
}

std::span<const MaterialParam> MaterialParams() {
    return kAll;
}

const MaterialParam* FindMaterialParam(std::string_view name) {
    for (const MaterialParam& p : kAll)
        if (p.name == name) return &p;
    return nullptr;
}

bool IsSteelLaw(int matType) {
    return matType == kMatSteel01 || matType == kMatSteel02;
}

bool IsConcreteLaw(int matType) {
    return matType == kMatConcrete01 || matType == kMatConcrete02;
}

void ChooseMaterialLaw(TMAT& mat, int matType) {
    const MaterialLaw* law = FindMaterialLaw(matType);
    if (law == nullptr)
        throw UsageError("material " + mat.Name + ": MatType takes 1 to 5, not " +
                         text::FormatInt(matType));
    mat.MatType = matType;
    for (const MaterialParam& p : law->params)
        if (mat.*p.field == 0) mat.*p.field = DefaultOf(mat, p.field);
}

std::optional<LawFault> MaterialLawFault(const TMAT& mat) {
    const auto fault = [&](std::string_view field, const char* what, double value) {
        return LawFault{field, "Material " + mat.Name + ": " + what + ", not " +
                                   text::FormatGeneral(value)};
    };
    if (IsConcreteLaw(mat.MatType)) {
        if (!(mat.fpc < 0))
            return fault("fpc", "the concrete strength fpc must be negative (compression)",
                         mat.fpc);
        if (!(mat.epsc0 < 0))
            return fault("epsc0",
                         "the concrete strain at strength epsc0 must be negative (compression)",
                         mat.epsc0);
        if (!(mat.epsU <= mat.epsc0))
            return fault("epsU",
                         "the crushing strain epsU must be at least as large in size as epsc0",
                         mat.epsU);
    }
    if (IsSteelLaw(mat.MatType)) {
        if (!(mat.Fy > 0)) return fault("Fy", "the steel yield stress Fy must be positive", mat.Fy);
        if (!(mat.E0 > 0))
            return fault("E0", "the steel elastic modulus E0 must be positive", mat.E0);
        if (!(mat.b >= 0 && mat.b < 1))
            return fault("b", "the hardening ratio b must be at least 0 and below 1", mat.b);
    }
    return std::nullopt;
}

void CheckMaterialLaw(const TMAT& mat) {
    if (const std::optional<LawFault> f = MaterialLawFault(mat)) throw InputError(f->message);
}

} // namespace vandra
