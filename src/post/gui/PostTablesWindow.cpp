#include "post/gui/PostTablesWindow.h"

#include "app/gui/ErrorBox.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/Progress.h"
#include "post/FrameForces.h"
#include "post/ResultLoading.h"
#include "post/gui/HistoryPlot.h"
#include "post/gui/ResultsFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStringList>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vandra::gui {
namespace {

constexpr size_t kRecDisplacement = 1; // TSettings::RecOpt[1]
constexpr size_t kRecElementForce = 2; // TSettings::RecOpt[2]

QComboBox* DirectionCombo(const QString& name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems({QStringLiteral("X"), QStringLiteral("Y")});
    return combo;
}

// The model keeps the unit of its lengths; forces stand in the unit of the file (a tabular
// file's are converted to N), which the model does not keep.
QString ForceUnit() {
    return QStringLiteral("model units");
}

QString LengthUnit(const TModel& model) {
    return QString::fromLatin1(LengthUnitName(model.LengthUnit).data(),
                               static_cast<qsizetype>(LengthUnitName(model.LengthUnit).size()));
}

} // namespace

PostTablesWindow::PostTablesWindow(const TModel& model, const TSettings& settings,
                                   TResults& results, ResultsFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), settings_(settings), results_(results),
      folder_(folder) {
    setObjectName(QStringLiteral("postTablesWindow"));
    setWindowTitle(QStringLiteral("Post Tables"));

    stepEdit_ = new QLineEdit(QStringLiteral("1"), this);
    stepEdit_->setObjectName(QStringLiteral("tableStepEdit"));
    stepEdit_->setMaximumWidth(90);
    envelopeCheck_ = new QCheckBox(QStringLiteral("Envelope of every step"), this);
    envelopeCheck_->setObjectName(QStringLiteral("tableEnvelopeCheck"));
    auto* loadButton = new QPushButton(QStringLiteral("Load"), this);
    loadButton->setObjectName(QStringLiteral("loadTablesButton"));
    auto* folderButton = new QPushButton(QStringLiteral("Results Folder..."), this);
    folderButton->setObjectName(QStringLiteral("resultsFolderButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("tablesStatusLabel"));
    statusLabel_->setWordWrap(true);
    shearDirection_ = DirectionCombo(QStringLiteral("baseShearDirection"), this);
    storeyDirection_ = DirectionCombo(QStringLiteral("storeyShearDirection"), this);
    shearAgainst_ = new QComboBox(this);
    shearAgainst_->setObjectName(QStringLiteral("baseShearAgainst"));
    shearAgainst_->addItems({QStringLiteral("Load factor"),
                             QStringLiteral("Control joint displacement")});
    shearAgainst_->setToolTip(QStringLiteral(
        "Against the control joint's displacement (Control Node, Control Dof) the base shear of "
        "a pushover is its capacity curve"));
    storeyCombo_ = new QComboBox(this);
    storeyCombo_->setObjectName(QStringLiteral("storeyCombo"));
    driftDirection_ = DirectionCombo(QStringLiteral("driftDirection"), this);
    shearPlot_ = new HistoryPlot(this);
    storeyPlot_ = new HistoryPlot(this);
    driftPlot_ = new HistoryPlot(this);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(makePage(ReactionsTab, shearDirection_, shearPlot_, QStringLiteral("Against"),
                           shearAgainst_),
                  QStringLiteral("Reactions"));
    tabs_->addTab(makePage(StoreyShearTab, storeyDirection_, storeyPlot_, QStringLiteral("Storey"),
                           storeyCombo_),
                  QStringLiteral("Storey Shear"));
    tabs_->addTab(makePage(PeriodsTab, nullptr, nullptr), QStringLiteral("Periods"));
    tabs_->addTab(makePage(DriftsTab, driftDirection_, driftPlot_), QStringLiteral("Drifts"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Load Step"), this));
    top->addWidget(stepEdit_);
    top->addWidget(envelopeCheck_);
    top->addWidget(loadButton);
    top->addStretch();
    top->addWidget(folderButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(statusLabel_, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);
    resize(900, 640);

    connect(envelopeCheck_, &QCheckBox::toggled, stepEdit_, &QWidget::setDisabled);
    connect(loadButton, &QPushButton::clicked, this, [this] { loadTables(); });
    connect(stepEdit_, &QLineEdit::returnPressed, this, [this] { loadTables(); });
    connect(folderButton, &QPushButton::clicked, this, [this] {
        if (folder_.choose(this)) loadTables();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QComboBox* combo :
         {shearDirection_, shearAgainst_, storeyDirection_, storeyCombo_, driftDirection_})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { replot(); });
}

QWidget* PostTablesWindow::makePage(Tab tab, QComboBox* direction, HistoryPlot* plot,
                                    const QString& secondLabel, QComboBox* second) {
    auto* table = new QTableWidget(this);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    tables_[tab] = table;
    if (plot == nullptr) return table;
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Direction"), page));
    row->addWidget(direction);
    if (second != nullptr) {
        row->addWidget(new QLabel(secondLabel, page));
        row->addWidget(second);
    }
    row->addStretch();
    auto* plotPage = new QWidget(page);
    auto* plotLayout = new QVBoxLayout(plotPage);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    plotLayout->addLayout(row);
    plotLayout->addWidget(plot, 1);
    auto* split = new QSplitter(Qt::Vertical, page);
    split->addWidget(table);
    split->addWidget(plotPage);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    return page;
}

void PostTablesWindow::showTab(Tab tab) {
    tabs_->setCurrentIndex(tab);
    show();
    raise();
    activateWindow();
    if (!loaded_) loadTables();
}

QString PostTablesWindow::statusText() const {
    return statusLabel_->text();
}

void PostTablesWindow::fill(Tab tab, const TTable& t) {
    QTableWidget* table = tables_[tab];
    table->clear();
    table->setColumnCount(static_cast<int>(t.Columns.size()));
    table->setRowCount(static_cast<int>(t.Rows.size()));
    QStringList names;
    for (const std::string& name : t.Columns)
        names << QString::fromStdString(name);
    table->setHorizontalHeaderLabels(names);
    for (size_t r = 0; r < t.Rows.size(); ++r)
        for (size_t c = 0; c < t.Rows[r].size(); ++c)
            table->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(QString::fromStdString(CellText(t.Rows[r][c]))));
    table->resizeColumnsToContents();
}

void PostTablesWindow::loadTables() {
    int step = kEnvelopeStep;
    try {
        if (!envelopeCheck_->isChecked()) step = parse::Integer(stepEdit_->text().toStdString());
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        return;
    }
    const QString chosen = folder_.ensure(this);
    if (chosen.isEmpty()) return;
    const std::string folder = QFile::encodeName(chosen).toStdString();
    // Read on a worker thread into tables of their own; Cancel keeps what the window showed.
    QStringList said;
    TResults loaded;
    std::vector<std::pair<Tab, TTable>> tables;
    bool reactions = false, storeyShears = false, modal = false, drifts = false;
    const auto part = [&](const QString& name, const std::function<void()>& work) {
        try {
            work();
        } catch (const Cancelled&) {
            throw;
        } catch (const std::exception& e) {
            said << name + QStringLiteral(": ") + QString::fromLocal8Bit(e.what());
        }
    };
    const bool read = ReadResultFiles(this, [&] {
        if (settings_.RecReactions)
            part(QStringLiteral("Reactions"), [&] {
                LoadReactions(loaded, model_, settings_, folder, step);
                tables.emplace_back(ReactionsTab, ReactionTable(loaded.Reactions, step));
                reactions = true;
            });
        else
            said << QStringLiteral("Reactions: not recorded (Recorder Setting, reactions)");
        if (!settings_.RecOpt[kRecElementForce])
            said << QStringLiteral("Storey shear: the element forces were not recorded");
        else
            part(QStringLiteral("Storey shear"), [&] {
                LoadStoreyShears(loaded, model_, settings_, folder);
                const TStoreyShearHistory& shears = loaded.StoreyShears;
                if (step != kEnvelopeStep && step > shears.Steps)
                    throw InputError("Load Step " + std::to_string(step) +
                                     " was not recorded: the element force files hold " +
                                     std::to_string(shears.Steps) + " steps");
                tables.emplace_back(StoreyShearTab,
                                    StoreyShearTable(FindLevels(model_), shears, step));
                storeyShears = true;
            });
        if (settings_.AnalysisType == kModal)
            part(QStringLiteral("Periods"), [&] {
                LoadModalTable(loaded, model_, settings_, folder);
                tables.emplace_back(PeriodsTab, ModalRows(loaded.Modal, 0));
                modal = true;
            });
        else if (settings_.RecOpt[kRecDisplacement])
            part(QStringLiteral("Drifts"), [&] {
                LoadDrifts(loaded, model_, folder);
                if (step != kEnvelopeStep && step > loaded.Drifts.Steps)
                    throw InputError("Load Step " + std::to_string(step) +
                                     " was not recorded: the node files hold " +
                                     std::to_string(loaded.Drifts.Steps) + " steps");
                tables.emplace_back(DriftsTab, DriftTable(loaded.Drifts, step));
                drifts = true;
            });
    });
    if (!read) {
        statusLabel_->setText(kResultReadCancelled);
        return;
    }
    forget();
    loaded_ = true;
    if (reactions) {
        results_.Reactions = std::move(loaded.Reactions);
        results_.ReactionStep = loaded.ReactionStep;
    }
    if (storeyShears) results_.StoreyShears = std::move(loaded.StoreyShears);
    if (modal) results_.Modal = std::move(loaded.Modal);
    if (drifts) {
        results_.History = std::move(loaded.History);
        results_.Drifts = std::move(loaded.Drifts);
    }
    for (const auto& [tab, table] : tables)
        fill(tab, table);
    statusLabel_->setText(said.isEmpty() ? QStringLiteral("Loaded from %1.").arg(chosen)
                                         : said.join(QLatin1Char('\n')));
    replot();
}

void PostTablesWindow::forget() {
    loaded_ = false;
    results_.StoreyShears = TStoreyShearHistory();
    for (QTableWidget* table : tables_) {
        table->clear();
        table->setRowCount(0);
        table->setColumnCount(0);
    }
    statusLabel_->clear();
    replot();
}

void PostTablesWindow::replot() {
    const int shear = shearDirection_->currentIndex();
    const QString axis = shearDirection_->currentText();
    PlotCurve base{results_.Reactions.Time, BaseShears(results_.Reactions, shear),
                   QStringLiteral("Base shear %1 over the steps").arg(axis),
                   QStringLiteral("time column (load factor)"),
                   QStringLiteral("base shear %1 [%2]").arg(axis, ForceUnit()),
                   {}};
    if (shearAgainst_->currentIndex() == 1) {
        const int joint = settings_.ControlNode, dof = settings_.ControlDof;
        const TNodeHistory& h = results_.History;
        base.x.clear();
        if (dof >= 1 && dof <= 3 && joint >= 1 && static_cast<size_t>(joint) < h.Stride &&
            h.Steps == results_.Reactions.Steps)
            for (int k = 1; k <= h.Steps; ++k)
                base.x.push_back((dof == 1 ? h.StepX(k) : dof == 2 ? h.StepY(k) : h.StepZ(k))[joint]);
        const QString name = QStringLiteral("U%1 of joint %2").arg(dof).arg(joint);
        base.title = base.x.empty()
                         ? QStringLiteral("Capacity curve: no displacement history of %1 with "
                                          "the reactions' steps")
                               .arg(name)
                         : QStringLiteral("Capacity curve: base shear %1 against %2").arg(axis, name);
        base.xLabel = QStringLiteral("%1 [%2]").arg(name, LengthUnit(model_));
        if (base.x.empty()) base.y.clear();
    }
    shearPlot_->setCurve(std::move(base));
    const int storeys = results_.StoreyShears.Storeys;
    if (storeyCombo_->count() != storeys) {
        const QSignalBlocker quiet(storeyCombo_);
        storeyCombo_->clear();
        for (int s = 1; s <= storeys; ++s)
            storeyCombo_->addItem(QString::number(s));
    }
    const int storey = storeyCombo_->currentIndex() + 1;
    const QString storeyAxis = storeyDirection_->currentText();
    storeyPlot_->setCurve(
        storey < 1 ? PlotCurve()
                   : PlotCurve{results_.StoreyShears.Time,
                               results_.StoreyShears.Curve(storey, storeyDirection_->currentIndex()),
                               QStringLiteral("Shear of storey %1 in %2 over the steps")
                                   .arg(storey)
                                   .arg(storeyAxis),
                               QStringLiteral("time column (load factor)"),
                               QStringLiteral("storey shear %1 [%2]").arg(storeyAxis, ForceUnit()),
                               {}});
    const int drift = driftDirection_->currentIndex();
    const TProfile profile = DriftProfile(results_.Drifts, drift);
    driftPlot_->setCurve(PlotCurve{profile.Drift, profile.Height,
                                   QStringLiteral("Drift profile %1: the largest drift ratio of "
                                                  "each storey over the run")
                                       .arg(driftDirection_->currentText()),
                                   QStringLiteral("drift ratio"),
                                   QStringLiteral("height [%1]").arg(LengthUnit(model_)),
                                   {}});
}

} // namespace vandra::gui
