// Post > "Force": the member force diagram drawn on the model view (N, Vy, Vz, T, My or Mz of one
// load step or the envelope of every step), its scale and values, and the reactions as arrows.
// OK reads what is asked from the results folder (all or nothing) and redraws.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"
#include "post/Results.h"
#include "view/ViewOptions.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vandra::gui {

class ResultsFolder;

class ForceDiagramDialog : public ModelessDialog {
    Q_OBJECT
public:
    ForceDiagramDialog(const TModel& model, const TSettings& settings, TViewOptions& options,
                       TResults& results, ResultsFolder& folder, QWidget* parent = nullptr);

    void load() override;
    // Reads the forces of the step (or the envelope) when a diagram is chosen and the reactions
    // when their arrows are, then sets the view options; a field that is not a number or a file
    // that cannot be read refuses, nothing changed.
    void apply() override;

private:
    void showConvention();
    void showFolder();

    const TModel& model_;
    const TSettings& settings_;
    TViewOptions& options_;
    TResults& results_;
    ResultsFolder& folder_;

    QComboBox* componentCombo_ = nullptr;
    QLineEdit* stepEdit_ = nullptr;
    QCheckBox* envelopeCheck_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    QCheckBox* valuesCheck_ = nullptr;
    QCheckBox* reactionsCheck_ = nullptr;
    QLabel* conventionLabel_ = nullptr;
    QLabel* folderLabel_ = nullptr;
};

} // namespace vandra::gui
