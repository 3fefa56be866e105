// What a frame section gives the script: derived from the model and the settings for every
// generation (and for whatever shows these values), never stored in the model.
#pragma once

#include "model/Model.h"
#include "sections/Fibers.h"

#include <vector>

namespace vandra {

struct TScriptSection {
    TSectionProps Props;        // SectionPropertiesOf the section
    double G = 0;               // the shear modulus of its material; 0 without one
    std::vector<TFIBER> Fibers; // SectionFibers for a frame type with a fiber section; else none
};

// Section s (1..SectionCount) of the model, its bars of material rebarMat. InputError when the
// section would have more than kMaxFibersPerSection fibers.
TScriptSection ScriptSectionOf(const TModel& model, int s, int rebarMat);

// ScriptSectionOf every section 1..SectionCount with the settings' rebar material, at its index;
// slot 0 is an empty section.
std::vector<TScriptSection> ScriptSectionsOf(const TModel& model, const TSettings& settings);

} // namespace vandra
