#include "view/gui/ViewOptionDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <array>

namespace vandra::gui {
namespace {

constexpr int kSwitchCount = 13;

// Captions of ViewOpt[1..13], in switch order.
constexpr std::array<const char*, kSwitchCount> kCaptions{
    "Node",           "Node Labels",   "Frame",        "Frame Labels",  "Frame Axis",
    "Node Support",   "Diaphragms",    "Hinge Circle", "Shell Element", "Shell Labels",
    "Moment Release", "Solid Element", "Solid Label"};

} // namespace

ViewOptionDialog::ViewOptionDialog(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("View Option"));

    auto* group = new QGroupBox(QStringLiteral("Object View"), this);
    auto* groupLayout = new QVBoxLayout(group);
    for (int i = 1; i <= kSwitchCount; ++i) {
        auto* box =
            new QCheckBox(QString::fromLatin1(kCaptions[static_cast<size_t>(i - 1)]), group);
        box->setObjectName(QStringLiteral("viewOptCheck%1").arg(i));
        groupLayout->addWidget(box);
        switchBoxes_[static_cast<size_t>(i)] = box;
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
        emit redrawRequested();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ViewOptionDialog::load() {
    for (int i = 1; i <= kSwitchCount; ++i)
        switchBoxes_[static_cast<size_t>(i)]->setChecked(settings_.ViewOpt[static_cast<size_t>(i)]);
}

void ViewOptionDialog::apply() {
    for (int i = 1; i <= kSwitchCount; ++i)
        settings_.ViewOpt[static_cast<size_t>(i)] =
            switchBoxes_[static_cast<size_t>(i)]->isChecked();
}

void ViewOptionDialog::showEvent(QShowEvent* event) {
    // A window restored by the system (un-minimised) keeps what the user typed.
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
