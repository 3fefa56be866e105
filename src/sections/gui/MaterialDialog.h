// "Material Data": the materials of the model with their elastic constants, and the uniaxial law
// each follows in fibers and trusses ("Type") with its parameters, stored by "Modify". A model
// whose solids have no material (one converted from SAP2000 V14 tables) gets one by "Add
// material": name, E and U typed in the boxes, added by "Modify" and given to those solids.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"

#include <map>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vandra::gui {

class MaterialDialog : public ModelessDialog {
    Q_OBJECT
public:
    explicit MaterialDialog(TModel& model, QWidget* parent = nullptr);

    void load() override;       // refills the list and shows the first material
    void showMaterial(int row); // fills the boxes from material row + 1
    void apply() override;      // Modify: stores the type and its parameters, or nothing
    void startAdding();         // Add material: empty boxes for a new elastic material

private:
    int selectedMaterial() const;  // 0 when no line is selected
    void showLaw(const TMAT& mat); // the parameter boxes of mat's law, filled from mat
    // The selected material with the chosen law and the typed parameters; ConversionError naming
    // the material and the parameter (also left in *failed) for a box that is not a number.
    TMAT typed(std::string_view* failed) const;
    // As a parameter is typed: marks the box that is not a number or that MaterialLawFault names
    // (property "fault") and says why under the boxes.
    void checkTyped();
    // The boxes that the new material's name, E and U are typed in, keyed as NewMaterialFault
    // names them; read-only unless a material is being added.
    std::map<std::string_view, QLineEdit*> elasticBoxes() const;
    void setAdding(bool adding);

    TModel& model_;
    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* elastic_ = nullptr;
    QLineEdit* shear_ = nullptr;
    QLineEdit* poisson_ = nullptr;
    struct ParamRow {
        QLabel* label;
        QLineEdit* edit;
    };
    std::map<std::string_view, ParamRow> params_;
    QLabel* faultLabel_ = nullptr;
    QPushButton* add_ = nullptr;
    bool adding_ = false;
};

} // namespace vandra::gui
