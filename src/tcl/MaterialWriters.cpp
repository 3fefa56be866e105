// Uniaxial materials, fiber sections with their aggregators, plate fiber materials and sections.
#include "model/MaterialLaws.h"
#include "sections/Fibers.h"
#include "tcl/ScriptWriters.h"

#include <string>
#include <vector>

namespace vandra {

using namespace script;

namespace {

bool HasAggregator(int frameType) {
    return frameType == kNonlinearBeamColumn || frameType == kDispBeamColumn ||
           frameType == kBeamWithHinge;
}

} // namespace

void WriteMaterial(const ScriptContext& context, int m, ScriptLineList& lines) {
    const TMAT& mat = context.model.Mats[Slot(m)];
    const int tag = context.tags.MaterialTag(m);
    if (mat.MatType == kMatElastic) {
        Line(lines, "uniaxialMaterial Elastic %d %0.4e", {tag, mat.E});
        return;
    }
    // A nonlinear law: its parameters in the solver's order, under the same tag.
    const MaterialLaw* law = FindMaterialLaw(mat.MatType);
    if (law == nullptr) return;
    std::string line;
    text::AppendFormat(line, "uniaxialMaterial %s %d", {law->name, tag});
    for (const MaterialParam& p : law->params) {
        line += ' ';
        text::AppendE(line, mat.*p.field, 4);
    }
    Line(lines, line);
}

void WriteFiberSection(const ScriptContext& context, int s, ScriptLineList& lines) {
    const TagPlan& tags = context.tags;
    const TScriptSection& derived = context.sections[Slot(s)];
    Line(lines, "##%S ", {InertName(context.model.Sections[Slot(s)].Name)});
    // A 3D fiber section needs its elastic torsional stiffness.
    Line(lines, "section Fiber %D -GJ %0.4E {",
         {tags.FiberSectionTag(s), derived.G * derived.Props.TorsJ});
    for (const TFIBER& f : derived.Fibers)
        Line(lines, "fiber %0.4E %0.4E %0.4E %D",
             {f.FibY, f.FibZ, f.FibArea, tags.MaterialTag(f.FibMat)});
    Line(lines, "}");
}

void WriteMaterials(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TSettings& settings = context.settings;
    const TagPlan& tags = context.tags;
    Line(lines, "puts \"material\"");
    const int mats = CountOf(model.MatCount);
    for (int m = 1; m <= mats; ++m)
        WriteMaterial(context, m, lines);
    if (!settings.UseAggregator) return;
    const int sections = CountOf(model.SectionCount);
    for (int s = 1; s <= sections; ++s) {
        const TScriptSection& sec = context.sections[Slot(s)];
        Line(lines, "uniaxialMaterial Elastic %d %0.4e",
             {tags.ShearYTag(s), sec.G * sec.Props.AS2});
        Line(lines, "uniaxialMaterial Elastic %d %0.4e",
             {tags.ShearZTag(s), sec.G * sec.Props.AS3});
        Line(lines, "uniaxialMaterial Elastic %d %0.4e",
             {tags.TorsionTag(s), sec.G * sec.Props.TorsJ});
    }
}

void WriteFiberSections(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TSettings& settings = context.settings;
    const TagPlan& tags = context.tags;
    const int sections = CountOf(model.SectionCount);
    for (int s = 1; s <= sections; ++s)
        if (HasFiberSection(model.Sections[Slot(s)].FrameType))
            WriteFiberSection(context, s, lines);
    if (!settings.UseAggregator) return;
    // Torsion is in the fiber section already; the aggregator adds the two shears.
    for (int s = 1; s <= sections; ++s) {
        if (!HasAggregator(model.Sections[Slot(s)].FrameType)) continue;
        Line(
            lines, "section Aggregator %D %D Vy %D Vz -section %D",
            {tags.AggregatorTag(s), tags.ShearYTag(s), tags.ShearZTag(s), tags.FiberSectionTag(s)});
    }
}

void WritePlateFiberSections(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TSettings& settings = context.settings;
    const TagPlan& tags = context.tags;
    Line(lines, "");
    if (!settings.GenPlateFiber) return;
    const int areaSecs = CountOf(model.AreaSecCount);

    // The three-dimensional materials that the plate fiber wrappers refer to, each once.
    const int mats = CountOf(model.MatCount);
    for (int m = 1; m <= mats; ++m) {
        if (!tags.PlateUsesMaterial(m)) continue;
        const TMAT& mat = model.Mats[Slot(m)];
        Line(lines, "nDMaterial ElasticIsotropic %d %0.4E %0.4E",
             {tags.ElasticNdTag(m), mat.E, mat.U});
    }

    for (int a = 1; a <= areaSecs; ++a) {
        const TAREASEC& area = model.AreaSecs[Slot(a)];
        if (area.ShellKind != kShellKindShell) continue;
        Line(lines, "##%S ", {InertName(area.Name)});
        Line(lines, "nDMaterial PlateFiber %d %D",
             {tags.PlateMaterialTag(a), tags.ElasticNdTag(area.MatIdx)});
        // "%0.2f", with more decimals when the thickness has them (a 0.125 m slab).
        Line(lines, "section PlateFiber %d %d %s",
             {tags.PlateSectionTag(a), tags.PlateMaterialTag(a),
              text::FormatFAtLeast(area.Thickness, 2)});
    }
}

} // namespace vandra
