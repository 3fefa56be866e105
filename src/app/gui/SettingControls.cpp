#include "app/gui/SettingControls.h"

#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <stdexcept>
#include <type_traits>

namespace vandra::gui {
namespace {

QString Latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

template <typename Control>
Control* Find(const QWidget* dialog, const SettingEntry& entry, const char* kind) {
    auto* control = dialog->findChild<Control*>(ControlName(entry, kind));
    if (control == nullptr)
        throw std::logic_error("the dialog has no control for " + std::string(entry.Name));
    return control;
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toLatin1().toStdString();
}

} // namespace

QString ControlName(const SettingEntry& entry, const char* kind) {
    QString name = Latin1(entry.Name);
    name[0] = name[0].toLower();
    return name + QLatin1String(kind);
}

QGroupBox* NewFlagGroup(const SettingEntry& entry, QWidget* parent) {
    auto* group = new QGroupBox(Latin1(entry.Label), parent);
    auto* layout = new QVBoxLayout(group);
    for (size_t i = 0; i < entry.Items.size(); ++i) {
        auto* box = new QCheckBox(Latin1(entry.Items[i]), group);
        box->setObjectName(ControlName(entry, "Check") + QString::number(i + 1));
        layout->addWidget(box);
    }
    return group;
}

void LoadControl(QWidget* dialog, const SettingEntry& entry, const ConstSettingRooms& rooms) {
    VisitSetting(entry, rooms, [&](const auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, int>) {
            if (auto* combo = dialog->findChild<QComboBox*>(ControlName(entry, "Combo"))) {
                // A value outside the list selects nothing.
                combo->setCurrentIndex(value >= 1 && value <= combo->count() ? value - 1 : -1);
                return;
            }
            Find<QLineEdit>(dialog, entry, "Edit")
                ->setText(QString::fromLatin1(text::Format("%D", {value})));
        } else if constexpr (std::is_same_v<T, double>) {
            Find<QLineEdit>(dialog, entry, "Edit")
                ->setText(QString::fromLatin1(text::Format("%0.3E", {value})));
        } else if constexpr (std::is_same_v<T, bool>) {
            Find<QCheckBox>(dialog, entry, "Check")->setChecked(value);
        } else if constexpr (std::is_same_v<T, std::string>) {
            Find<QLineEdit>(dialog, entry, "Edit")->setText(QString::fromLocal8Bit(value));
        } else {
            for (size_t i = 1; i < value.size(); ++i)
                Find<QCheckBox>(dialog, entry, ("Check" + std::to_string(i)).c_str())
                    ->setChecked(value[i]);
        }
    });
}

void ApplyControl(const QWidget* dialog, const SettingEntry& entry, const SettingRooms& rooms) {
    VisitSetting(entry, rooms, [&](auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, int>) {
            if (auto* combo = dialog->findChild<QComboBox*>(ControlName(entry, "Combo"))) {
                value = combo->currentIndex() + 1; // 0 when nothing is selected
                return;
            }
            value = parse::Integer(Text(Find<QLineEdit>(dialog, entry, "Edit")));
        } else if constexpr (std::is_same_v<T, double>) {
            value = parse::Float(Text(Find<QLineEdit>(dialog, entry, "Edit")));
        } else if constexpr (std::is_same_v<T, bool>) {
            value = Find<QCheckBox>(dialog, entry, "Check")->isChecked();
        } else if constexpr (std::is_same_v<T, std::string>) {
            value = Find<QLineEdit>(dialog, entry, "Edit")->text().toLocal8Bit().toStdString();
        } else {
            for (size_t i = 1; i < value.size(); ++i)
                value[i] = Find<QCheckBox>(dialog, entry, ("Check" + std::to_string(i)).c_str())
                               ->isChecked();
        }
    });
}

} // namespace vandra::gui
