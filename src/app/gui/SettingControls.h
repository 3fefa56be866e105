// The controls of the simple setting dialogs (Analysis Setting, Recorder Setting, View Option),
// named after and filled from the settings table, so that a dialog shows and stores every setting
// it has a control for.
//
// A setting NAME has the control nameEdit (a number or a text), nameCombo (an integer chosen from a
// list: item k is the value k + 1), nameCheck (a flag), or nameCheck1..nameCheckN (a flag list),
// with the first letter of NAME in lower case.
#pragma once

#include "document/SettingsByName.h"

#include <QString>

class QGroupBox;
class QWidget;

namespace vandra::gui {

// The object name of a setting's control of that kind ("Edit", "Combo", "Check").
QString ControlName(const SettingEntry& entry, const char* kind);

// A group box titled with the label of a flag list, holding a check box per flag captioned with
// its item.
QGroupBox* NewFlagGroup(const SettingEntry& entry, QWidget* parent);

// Shows the setting's value in its control among the dialog's children. Reals show three
// significant digits ("1.23E-001"): OK stores back the rounded value.
void LoadControl(QWidget* dialog, const SettingEntry& entry, const ConstSettingRooms& rooms);
// Stores the control's value in the setting; a number that does not convert throws
// ConversionError and stores nothing.
void ApplyControl(const QWidget* dialog, const SettingEntry& entry, const SettingRooms& rooms);

} // namespace vandra::gui
