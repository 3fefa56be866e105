#include "model/Model.h"

#include <algorithm>

namespace vandra {

const std::array<uint32_t, 20> Palette = {
    PackColor(0, 0, 0),
    PackColor(255, 0, 0),
    PackColor(0, 0, 255),
    PackColor(0, 0, 0),
    PackColor(0, 94, 31),
    PackColor(98, 1, 96),
    PackColor(255, 0, 255),
    PackColor(99, 99, 99),
    PackColor(96, 56, 17),
    PackColor(0, 53, 98),
    PackColor(237, 27, 35),
    PackColor(255, 0, 0),
    PackColor(255, 255, 0),
    PackColor(0, 255, 0),
    PackColor(0, 255, 255),
    PackColor(0, 0, 255),
    PackColor(255, 0, 255),
    // Extra section colours: orange, teal and olive, none of them already in the table.
    PackColor(255, 128, 0),
    PackColor(0, 128, 128),
    PackColor(128, 128, 0),
};

double MillimetresPerUnit(int lengthUnit) {
    switch (lengthUnit) {
    case kLengthCM:
        return 10.0;
    case kLengthM:
        return 1000.0;
    case kLengthIN:
        return 25.4;
    case kLengthFT:
        return 304.8;
    default:
        return 1.0;
    }
}

std::string_view LengthUnitName(int lengthUnit) {
    switch (lengthUnit) {
    case kLengthCM:
        return "cm";
    case kLengthM:
        return "m";
    case kLengthIN:
        return "in";
    case kLengthFT:
        return "ft";
    default:
        return "mm";
    }
}

uint32_t SectionColor(int k) {
    int slot = k % 20;
    if (slot < 0) slot += 20;
    return Palette[static_cast<size_t>(slot)];
}

namespace {
template <typename Record>
int FindByName(const std::vector<Record>& table, int count, const std::string& name) {
    int found = 0;
    const int last = std::min<int>(count, static_cast<int>(table.size()) - 1);
    for (int i = 1; i <= last; ++i)
        if (table[static_cast<size_t>(i)].Name == name) found = i;
    return found;
}
} // namespace

int FindMaterial(const TModel& model, const std::string& name) {
    return FindByName(model.Mats, model.MatCount, name);
}
int FindSection(const TModel& model, const std::string& name) {
    return FindByName(model.Sections, model.SectionCount, name);
}
int FindAreaSection(const TModel& model, const std::string& name) {
    return FindByName(model.AreaSecs, model.AreaSecCount, name);
}

} // namespace vandra
