// The uniaxial laws a model material follows (TMAT::MatType): their solver names and parameters in
// the order the solver takes them. The material dialog, the script writer, the setting names and
// the project file all read this one table.
#pragma once

#include "model/Model.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vandra {

struct MaterialParam {
    std::string_view name; // the solver's name, also the setting and project key
    double TMAT::*field;
};

struct MaterialLaw {
    int type;              // MaterialTypeCode
    std::string_view name; // the "Type" list item and the uniaxialMaterial type of the script
    std::span<const MaterialParam> params;
};

// The five laws in type order; the elastic law has no parameters of its own (it uses E).
std::span<const MaterialLaw> MaterialLaws();
// The law of a type code; nullptr for a code outside 1..5.
const MaterialLaw* FindMaterialLaw(int matType);
// Every nonlinear parameter once, in the order of TMAT.
std::span<const MaterialParam> MaterialParams();
const MaterialParam* FindMaterialParam(std::string_view name);

bool IsSteelLaw(int matType);
bool IsConcreteLaw(int matType);

// Sets the law of mat. Each parameter of the law that is still zero gets its default, a ratio of
// the material's E so that it is sound in any unit system: steel Fy = E/800, E0 = E, b = 0.01,
// R0 = 18, cR1 = 0.925, cR2 = 0.15; concrete fpc = -0.0012 E, epsc0 = -0.002, fpcu = 0.2 fpc,
// epsU = -0.006, lambda = 0.1, ft = -0.1 fpc, Ets = ft / 0.002. A code outside 1..5 raises
// UsageError and leaves mat as it was.
void ChooseMaterialLaw(TMAT& mat, int matType);

// The first parameter of a material that cannot describe its law, and the refusal naming the
// material and the parameter: a concrete whose fpc or epsc0 is not negative (compression) or whose
// crushing strain epsU is smaller in size than epsc0, a steel whose Fy or E0 is not positive or
// whose hardening ratio b is outside 0..1 (1 excluded). Nothing for a sound law.
struct LawFault {
    std::string_view field; // the parameter's name, as MaterialParams gives it
    std::string message;
};
std::optional<LawFault> MaterialLawFault(const TMAT& mat);

// Throws InputError with the message of MaterialLawFault; the material dialog (as values are
// typed), the setting names and the project file call it.
void CheckMaterialLaw(const TMAT& mat);

} // namespace vandra
