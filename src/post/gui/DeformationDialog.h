// The "Deformation Shape" dialog: loads one load step of node displacements or their envelope,
// the section deformations at the frame ends or one mode shape from the results folder, and sets
// the displacement scale and the colour range of the end circles.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"
#include "post/Results.h"
#include "view/Camera.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vandra::gui {

class ResultsFolder;

class DeformationDialog : public ModelessDialog {
    Q_OBJECT
public:
    DeformationDialog(const TModel& model, const TSettings& settings, TViewState& view,
                      TResults& results, ResultsFolder& folder, QWidget* parent = nullptr);

    // The three load buttons: read into new tables, stored only when every file was read.
    void loadNodeStep();
    void loadSections();
    void loadModeShape();
    // The displacements' envelope over every step (LoadNodeEnvelope).
    void loadNodeEnvelope();
    // Shows the results folder, which the solver window may have set.
    void load() override;
    // OK: ResultMax, ResultMin, DisplacementScale from the fields, in this order; a field that is
    // not a number stops there (ConversionError) with the fields before it applied.
    void apply() override;

    QString statusText() const;

private:
    QLayout* makeLoadGrid();
    QWidget* makeSectionGroup();
    template <typename Work> void guarded(Work&& work);
    QString folderOrAsk();
    void showFolder();

    const TModel& model_;
    const TSettings& settings_;
    TViewState& view_;
    TResults& results_;
    ResultsFolder& folder_;

    QLineEdit* stepEdit_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    QLineEdit* modeEdit_ = nullptr;
    QComboBox* componentCombo_ = nullptr;
    QLineEdit* maxEdit_ = nullptr;
    QLineEdit* minEdit_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
};

} // namespace vandra::gui
