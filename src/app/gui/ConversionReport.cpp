#include "app/gui/ConversionReport.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vandra {

ConversionReportDialog::ConversionReportDialog(const std::vector<std::string>& report,
                                               const WarningList& warnings, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("conversionReportDialog"));
    setWindowTitle(QStringLiteral("Conversion report"));
    resize(820, 480);
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("conversionReportText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString body;
    for (const std::string& line : report)
        body += QString::fromLocal8Bit(line) + '\n';
    body += '\n' + QString::number(warnings.size()) + QStringLiteral(" warnings\n");
    for (const TWarning& w : warnings)
        body += QString::fromLocal8Bit(FormatWarning(w)) + '\n';
    text->setPlainText(body);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

void ShowConversionReport(QWidget* parent, const std::vector<std::string>& report,
                          const WarningList& warnings) {
    auto* dialog = new ConversionReportDialog(report, warnings, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

} // namespace vandra
