#include "tcl/gui/RecorderSettingDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vandra::gui {
namespace {

constexpr int kOptionCount = 5;

// Labels of RecOpt[1..5], in index order.
constexpr std::array<const char*, kOptionCount> kLabels{
    "Displacement of All Nodes", "Element Force of All Frames",
    "Force/Disp Beam Column Section Deformation", "Force/Disp Beam Column Section  Stress-Strain",
    "Modal Shape"};

} // namespace

RecorderSettingDialog::RecorderSettingDialog(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Recorder Setting"));

    auto* group = new QGroupBox(QStringLiteral("Output(Recorder Setting)"), this);
    auto* groupLayout = new QVBoxLayout(group);
    for (int i = 1; i <= kOptionCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kLabels[static_cast<size_t>(i - 1)]), group);
        box->setObjectName(QStringLiteral("recOptCheck%1").arg(i));
        groupLayout->addWidget(box);
        optionBoxes_[static_cast<size_t>(i)] = box;
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
}

void RecorderSettingDialog::load() {
    for (int i = 1; i <= kOptionCount; ++i)
        optionBoxes_[static_cast<size_t>(i)]->setChecked(settings_.RecOpt[static_cast<size_t>(i)]);
}

void RecorderSettingDialog::apply() {
    for (int i = 1; i <= kOptionCount; ++i)
        settings_.RecOpt[static_cast<size_t>(i)] =
            optionBoxes_[static_cast<size_t>(i)]->isChecked();
}

void RecorderSettingDialog::showEvent(QShowEvent* event) {
    // A window restored by the system (un-minimised) keeps what the user typed.
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
