// The IDA curves of a suite in a widget (view/render/IdaPlot.h draws them).
#pragma once

#include "motion/SuiteResults.h"

#include <QWidget>

namespace vandra::gui {

class IdaPlotWidget : public QWidget {
    Q_OBJECT
public:
    explicit IdaPlotWidget(QWidget* parent = nullptr);
    void setTable(motion::IdaTable table);
    const motion::IdaTable& table() const { return table_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    motion::IdaTable table_;
};

} // namespace vandra::gui
