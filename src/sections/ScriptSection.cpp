#include "sections/ScriptSection.h"

#include "sections/SectionProperties.h"

#include <algorithm>

namespace vandra {

TScriptSection ScriptSectionOf(const TModel& model, int s, int rebarMat) {
    const TSECTION& sec = model.Sections[static_cast<size_t>(s)];
    TScriptSection out;
    out.Props = SectionPropertiesOf(sec);
    if (sec.MatIdx >= 0 && static_cast<size_t>(sec.MatIdx) < model.Mats.size())
        out.G = model.Mats[static_cast<size_t>(sec.MatIdx)].G;
    if (HasFiberSection(sec.FrameType)) out.Fibers = SectionFibers(sec, rebarMat);
    return out;
}

std::vector<TScriptSection> ScriptSectionsOf(const TModel& model, const TSettings& settings) {
    const int count =
        std::min<int>(CountOf(model.SectionCount), static_cast<int>(model.Sections.size()) - 1);
    std::vector<TScriptSection> sections(static_cast<size_t>(std::max(count, 0)) + 1);
    for (int s = 1; s <= count; ++s)
        sections[static_cast<size_t>(s)] = ScriptSectionOf(model, s, settings.RebarMat);
    return sections;
}

} // namespace vandra
