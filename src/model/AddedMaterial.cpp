#include "model/AddedMaterial.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>

namespace vandra {
namespace {

bool NameCharacterFault(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '=' || c == 0x7F;
}

} // namespace

bool SolidsNeedMaterial(const TModel& model) {
    return CountOf(model.SolidCount) > 0 && CountOf(model.MatCount) == 0;
}

std::optional<LawFault> NewMaterialFault(const TModel& model, const TMAT& mat) {
    const std::string prefix = "Material " + mat.Name + ": ";
    if (mat.Name.empty()) return LawFault{"Name", "The new material needs a name"};
    if (std::any_of(mat.Name.begin(), mat.Name.end(), NameCharacterFault))
        return LawFault{"Name",
                        prefix + "a material name holds no blank, control character or '='"};
    if (FindMaterial(model, mat.Name) != 0)
        return LawFault{"Name", prefix + "the model has a material of that name already"};
    if (!(mat.E > 0))
        return LawFault{"E", prefix + "the elastic modulus E must be positive, not " +
                                 text::FormatGeneral(mat.E)};
    if (!(mat.U >= 0 && mat.U < 0.5))
        return LawFault{"U", prefix + "Poisson's ratio U must be at least 0 and below 0.5, not " +
                                 text::FormatGeneral(mat.U)};
    return std::nullopt;
}

int AddSolidMaterial(TModel& model, TMAT mat) {
    if (const std::optional<LawFault> fault = NewMaterialFault(model, mat))
        throw InputError(fault->message);
    mat.MatType = kMatElastic;
    mat.G = mat.E / 2 / (1 + mat.U);
    mat.Added = true;
    const int m = CountOf(model.MatCount) + 1;
    if (model.Mats.size() <= static_cast<size_t>(m)) model.Mats.resize(static_cast<size_t>(m) + 1);
    model.Mats[static_cast<size_t>(m)] = std::move(mat);
    model.MatCount = m;
    const int solids = std::min<int>(CountOf(model.SolidCount), int(model.Solids.size()) - 1);
    for (int i = 1; i <= solids; ++i) {
        TSOLID& solid = model.Solids[static_cast<size_t>(i)];
        if (solid.SecNo < 1 || solid.SecNo >= m) solid.SecNo = m;
    }
    return m;
}

} // namespace vandra
