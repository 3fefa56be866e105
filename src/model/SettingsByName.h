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

#include <string_view>

namespace vandra {

void AssignSetting(TModel& model, TSettings& settings, std::string_view assignment);

} // namespace vandra
