// "Frame Section (Nonlinear)": per frame section, the element type, transformation, fiber
// divisions, bars, cover, hinge lengths and colour, with the picture of the fibers they give.
// Import and Export read and write the same settings of every section as a section library;
// "Section analysis" stores the boxes and asks for the section's analysis window.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"
#include <QImage>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vandra::gui {

class FrameSectionDialog : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrameSectionDialog(TModel& model, QWidget* parent = nullptr);

    // Asks for a colour starting from `initial`; empty when the user cancelled.
    using ColorChooser = std::function<std::optional<QColor>(QWidget* parent, QColor initial)>;
    // Asks for a file name; empty when the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent)>;
    void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }
    void setImportFileChooser(FileChooser chooser) { chooseImportFile_ = std::move(chooser); }
    void setExportFileChooser(FileChooser chooser) { chooseExportFile_ = std::move(chooser); }

    void load() override;      // refills the lists and shows the first section
    void showSection(int row); // fills every box from section row + 1 and draws it
    // OK: stores the boxes in order, then redraws the picture. A box that does not convert
    // throws there, the fields before it stored.
    void apply() override;
    void chooseSwatchColor(); // the swatch was pressed
    void importLibrary();     // Import
    void exportLibrary();     // Export
    const QImage& picture() const { return picture_; }

signals:
    // The dialog closed: frames may show their section's new colour.
    void redrawRequested();
    // "Section analysis": the boxes were stored; frame section s is to be analysed.
    void sectionAnalysisRequested(int s);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makePicturePanel();
    QWidget* makePropertiesGroup();
    QLayout* makeSettingGroups();
    QLayout* makeButtonRow();
    int selectedSection() const; // 0 when no line is selected
    void drawPicture(int s);
    // The boxes into sec in the order apply() stores them; a conversion error stops at its box.
    void readFields(TSECTION& sec) const;
    void setSwatch(const QColor& color);
    // The boxes of the fields FiberLayoutFault may name, by the field's name, in the order OK
    // reads them.
    std::vector<std::pair<const char*, QLineEdit*>> fieldBoxes() const;
    // As a box is typed: marks the first that does not convert or that makes the layout silently
    // wrong (property "fault"), says why under the boxes, and draws the typed section when sound.
    void checkTyped();

    TModel& model_;
    QImage picture_;
    QColor swatchColor_;
    QColor lastChosenColor_ = Qt::black;
    ColorChooser chooseColor_;
    FileChooser chooseImportFile_;
    FileChooser chooseExportFile_;

    QLabel* pictureLabel_ = nullptr;
    QLabel* unitLabel_ = nullptr; // the model's length unit, in which the fields are given
    QListWidget* sectionList_ = nullptr;
    QLabel* swatch_ = nullptr;
    QComboBox* frameType_ = nullptr;
    QComboBox* sectionName_ = nullptr;
    QComboBox* sectionShape_ = nullptr;
    QComboBox* material_ = nullptr;
    std::array<QLineEdit*, 7> dimensions_{}; // [1..6]
    QComboBox* geoTransf_ = nullptr;
    QLineEdit* barTop_ = nullptr;
    QLineEdit* barBot_ = nullptr;
    QComboBox* sectionKind_ = nullptr;
    QLineEdit* divideFX_ = nullptr;
    QLineEdit* divideFY_ = nullptr;
    QLineEdit* barNumNX_ = nullptr;
    QLineEdit* barNumNY_ = nullptr;
    QLineEdit* cover_ = nullptr;
    QLineEdit* hingeLenI_ = nullptr;
    QLineEdit* hingeLenJ_ = nullptr;
    QLabel* faultLabel_ = nullptr;
    bool filling_ = false; // showSection is filling the boxes
};

} // namespace vandra::gui
