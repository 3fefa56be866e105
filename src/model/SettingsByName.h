// Settings and per-section values set by their store names, as the command line's
// "--set NAME=VALUE" gives them:
//   AnalysisType=5, LoadFactor=0.5, UseAggregator=1, RecOpt=1,0,0,0,1, ViewOpt=1,0,1,... (13 flags)
//   Sections[NAME].FIELD=VALUE  (FrameType, GeoTransf, SectionKind, DivideFX, DivideFY, BarNumNX,
//                                BarNumNY, Cover, BarTop, BarBot, HingeLenI, HingeLenJ, Color)
//   AreaSecs[NAME].NonlinType=0|1
//   Mats[NAME].MatType=1..5, Mats[NAME].PARAM=VALUE  (PARAM one of the law parameters of
//                                MaterialLaws.h: Fy, E0, b, R0, cR1, cR2, fpc, epsc0, ...)
// NAME is found by the store's look-up rule (exact, last match). An unknown setting, field or name
// raises UsageError naming it; a value that is not a number raises ConversionError; a material
// left without sound law parameters (CheckMaterialLaw) raises InputError and stays as it was.
#pragma once

#include "model/Model.h"

#include <span>
#include <string>
#include <string_view>

namespace vandra {

void AssignSetting(TModel& model, TSettings& settings, std::string_view assignment);

// The one list of the names AssignSetting takes, in the order the help and the README give them:
// the program settings, the frame section fields (Sections[NAME].FIELD), the shell section
// fields (AreaSecs[NAME].FIELD) and the material fields (Mats[NAME].FIELD).
struct SettingName {
    std::string_view Name;
    std::string_view Values; // what the value is: "integer", "number", "0/1", "5 flags 0/1"...
};
std::span<const SettingName> ProgramSettingNames();
std::span<const SettingName> SectionFieldNames();
std::span<const SettingName> AreaSecFieldNames();
std::span<const SettingName> MatFieldNames();

// The paragraph of vandra-cli --help that lists every name, lines of at most 96 characters.
std::string SettingNamesHelp();

} // namespace vandra
