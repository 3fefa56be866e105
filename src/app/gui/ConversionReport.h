// The report shown after a tabular SAP2000 file was converted: what was read and converted how,
// then every warning.
#pragma once

#include "model/ModelCheck.h"

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace vandra {

class ConversionReportDialog : public QDialog {
public:
    ConversionReportDialog(const std::vector<std::string>& report, const WarningList& warnings,
                           QWidget* parent);
};

// Shows the report modeless; it deletes itself when closed.
void ShowConversionReport(QWidget* parent, const std::vector<std::string>& report,
                          const WarningList& warnings);

} // namespace vandra
