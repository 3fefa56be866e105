// A material the engineer adds in the program to a model whose solids have none: a model
// converted from SAP2000 V14 tables holds joints, restraints, loads and solids but no material,
// and the script cannot give its bricks an nDMaterial without one. The added material is marked
// (TMAT::Added): the model file does not hold it, so the project keeps its name, E and U and adds
// it again when the project is opened.
#pragma once

#include "model/MaterialLaws.h"
#include "model/Model.h"

#include <optional>

namespace vandra {

// True for a model with solids and no material, whose script the generator refuses.
bool SolidsNeedMaterial(const TModel& model);

// The first field of a material to be added that cannot be one, with the refusal naming it
// (field "Name", "E" or "U"): an empty name or one holding a blank, a control character or '=',
// a name another material has, E not positive, U outside 0..0.5 (0.5 excluded). Nothing when
// sound.
std::optional<LawFault> NewMaterialFault(const TModel& model, const TMAT& mat);

// Appends mat with the elastic law, its G from E and U and marked as added, and makes it the
// material of every solid whose SecNo names no material (the converter writes SEC=100). InputError
// with NewMaterialFault's message, the model unchanged, when it cannot be added. Returns its index.
int AddSolidMaterial(TModel& model, TMAT mat);

} // namespace vandra
