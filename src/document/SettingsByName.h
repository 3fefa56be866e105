// The settings a user can name, in one table: vandra-cli's "--set NAME=VALUE" and its --help, the
// README, the project file's "Settings" object and the simple dialogs (Analysis Setting, Recorder
// Setting, View Option) all read it, so that they cannot drift apart.
//
// A setting lives in one of three rooms: the analysis settings (TSettings: what the script is
// made from, kept in projects), the view options (TViewOptions, owned by the view; the layer
// switches are kept in projects too) and the colour range of the loaded results (TResults).
// Values are given as the command line gives them:
//   AnalysisType=5, LoadFactor=0.5, UseAggregator=1, RecOpt=1,0,0,0,1, ViewOpt=1,0,1,... (13
//   flags), RecordFile=records/rsn1.AT2 (a text: everything after the first '=')
// and the per-section values as TABLE[NAME].FIELD=VALUE:
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
#include "post/Results.h"
#include "view/ViewOptions.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vandra {

enum class SettingRoom { Analysis, View, Results };

// Where a setting's value lives: a member of its room. A flag list is an array whose elements
// [1..size - 1] are the flags.
using SettingField =
    std::variant<int TSettings::*, double TSettings::*, bool TSettings::*, std::string TSettings::*,
                 std::array<bool, 6> TSettings::*, int TViewOptions::*, double TViewOptions::*,
                 bool TViewOptions::*, std::array<bool, 14> TViewOptions::*, double TResults::*>;

struct SettingEntry {
    std::string_view Name;   // as --set and the project file name it
    std::string_view Values; // what the value is, for the help: "integer", "number", "0/1"...
    SettingField Field;
    bool InProject = false; // kept in a project's "Settings"
    // The caption in its dialog (empty when no simple dialog shows the setting) and, for a flag
    // list or a choice from a fixed list, the caption of each flag or item.
    std::string_view Label{};
    std::span<const std::string_view> Items{};
};

// Every setting, in the order the help and the README give them.
std::span<const SettingEntry> SettingsTable();
// The entry of that name; throws std::out_of_range for a name not in the table.
const SettingEntry& SettingNamed(std::string_view name);
SettingRoom RoomOf(const SettingEntry& entry);

// The rooms a caller has at hand; a room left null refuses its settings.
struct SettingRooms {
    TSettings* Analysis = nullptr;
    TViewOptions* View = nullptr;
    TResults* Results = nullptr;
};
struct ConstSettingRooms {
    const TSettings* Analysis = nullptr;
    const TViewOptions* View = nullptr;
    const TResults* Results = nullptr;
};

namespace detail {
template <typename Member> struct MemberClass;
template <typename T, typename C> struct MemberClass<T C::*> { using Type = C; };
template <typename Class, typename Rooms> auto* RoomIn(const Rooms& rooms) {
    if constexpr (std::is_same_v<Class, TSettings>)
        return rooms.Analysis;
    else if constexpr (std::is_same_v<Class, TViewOptions>)
        return rooms.View;
    else
        return rooms.Results;
}
} // namespace detail

// Calls f with a reference to the setting's value in its room: an int, a double, a bool, a text
// (a file name) or a flag array (const when the rooms are). Returns false, without calling f, when
// that room is missing.
template <typename Rooms, typename F>
bool VisitSetting(const SettingEntry& entry, const Rooms& rooms, F&& f) {
    return std::visit(
        [&](auto member) {
            using Class = typename detail::MemberClass<decltype(member)>::Type;
            auto* room = detail::RoomIn<Class>(rooms);
            if (room == nullptr) return false;
            f(room->*member);
            return true;
        },
        entry.Field);
}

// The per-section values by name (Sections[NAME].FIELD); Color is a packed colour.
struct SettingName {
    std::string_view Name;
    std::string_view Values;
};
using SectionField = std::variant<int TSECTION::*, double TSECTION::*, uint32_t TSECTION::*>;
struct SectionFieldEntry {
    SettingName Text;
    SectionField Field;
};
std::span<const SectionFieldEntry> SectionFieldTable();
// The largest packed colour, white.
inline constexpr int kMaxPackedColor = 0xFFFFFF;

void AssignSetting(TModel& model, const SettingRooms& rooms, std::string_view assignment);
// The analysis settings and the model alone (what the script is made from).
inline void AssignSetting(TModel& model, TSettings& settings, std::string_view assignment) {
    AssignSetting(model, SettingRooms{&settings}, assignment);
}

// The names AssignSetting takes, in the order the help and the README give them: the settings,
// the frame section fields (Sections[NAME].FIELD), the shell section fields (AreaSecs[NAME].FIELD)
// and the material fields (Mats[NAME].FIELD).
std::span<const SettingName> ProgramSettingNames();
std::span<const SettingName> SectionFieldNames();
std::span<const SettingName> AreaSecFieldNames();
std::span<const SettingName> MatFieldNames();

// The paragraph of vandra-cli --help that lists every name, lines of at most 96 characters.
std::string SettingNamesHelp();

} // namespace vandra
