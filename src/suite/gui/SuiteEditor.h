// The controls of a ground-motion suite (motion/Suite.h) in the Run suite window: the records, the
// factors or the levels of Sa(T1) with the period, the direction and the damping ratio.
#pragma once

#include "motion/Suite.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace vandra::gui {

class SuiteEditor : public QWidget {
    Q_OBJECT
public:
    explicit SuiteEditor(QWidget* parent = nullptr);

    // Shows the suite in the controls.
    void setSuite(const motion::Suite& suite);
    // The suite the controls hold, checked as the suite file at `path` would be read
    // (motion::ParseSuite: its messages name that file). ConversionError naming the field for a
    // number that does not read.
    motion::Suite suite(const std::string& path) const;

    // Asks for record files to add; by default the platform's open dialog. A file named .AT2 is a
    // PEER record; any other is a file of one column whose time step "Time step of column files"
    // gives.
    void setRecordChooser(std::function<QStringList(QWidget*)> chooser) {
        chooseRecords_ = std::move(chooser);
    }
    void addRecords();
    void removeRecord();

private:
    void showRecords();
    void kindChanged();

    std::vector<motion::RecordSource> records_;
    QListWidget* recordList_ = nullptr;
    QLineEdit* columnDt_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLineEdit* intensities_ = nullptr;
    QLineEdit* period_ = nullptr;
    QComboBox* direction_ = nullptr;
    QLineEdit* damping_ = nullptr;
    std::function<QStringList(QWidget*)> chooseRecords_;
};

} // namespace vandra::gui
