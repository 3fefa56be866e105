// The storey shear curve of recorded solver output (tests/data/frame_push: 150 kN along X in four
// static steps of a quarter, all of it carried by the lower storey), shown over the steps and
// saved for a report as PNG, SVG and CSV, each read back.
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "post/gui/HistoryPlot.h"
#include "post/gui/PostTablesWindow.h"

#include <QComboBox>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;

class PlotSaveTest : public QObject {
    Q_OBJECT
private slots:
    void storeyShearCurveSavesAsPngSvgAndCsv();
};

void PlotSaveTest::storeyShearCurveSavesAsPngSvgAndCsv() {
    const QString data = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");
    MainWindow window;
    window.importModel(data + QStringLiteral("two_storey_frame.s2k"));
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "ControlNode=16", "ControlDof=1"})
        AssignSetting(window.document().model(),
                      SettingRooms{&window.document().settings(), &window.viewOptions(),
                                   &window.document().results()},
                      set);
    window.resultsFolder().setFolder(data + QStringLiteral("frame_push"));
    PostTablesWindow* w = window.postTablesWindow();
    w->showTab(PostTablesWindow::StoreyShearTab);
    QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("storeyCombo"))->count(), 2);
    const auto plotTitled = [w](const QString& start) {
        for (HistoryPlot* p : w->findChildren<HistoryPlot*>())
            if (p->curve().title.startsWith(start)) return p;
        qFatal("no plot titled %s", qPrintable(start));
    };
    HistoryPlot* plot = plotTitled(QStringLiteral("Shear of storey 1 in X"));
    const PlotCurve& curve = plot->curve();
    QCOMPARE(curve.y.size(), size_t(4));
    for (size_t k = 0; k < 4; ++k) {
        QVERIFY(std::abs(curve.x[k] - 0.25 * double(k + 1)) < 1e-9);
        QVERIFY2(std::abs(curve.y[k] - 37500 * double(k + 1)) < 1e-4 * 37500 * double(k + 1),
                 qPrintable(QString::number(curve.y[k])));
    }

    // The capacity curve of an elastic frame is a straight line through the origin: base shear
    // over the roof joint's displacement is its stiffness at every step.
    w->findChild<QComboBox*>(QStringLiteral("baseShearAgainst"))->setCurrentIndex(1);
    const PlotCurve& capacity =
        plotTitled(QStringLiteral("Capacity curve: base shear X against U1 of joint 16"))->curve();
    QCOMPARE(capacity.x.size(), size_t(4));
    for (size_t k = 0; k < 4; ++k)
        QVERIFY2(std::abs(capacity.y[k] / capacity.x[k] / (capacity.y[3] / capacity.x[3]) - 1) <
                     1e-4,
                 qPrintable(QString::number(capacity.y[k] / capacity.x[k])));

    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    plot->resize(500, 320);
    for (const char* name : {"shear.png", "shear.svg", "shear.csv"})
        plot->save(QFile::encodeName(path(name)).toStdString());

    // The PNG is the plot as the window paints it.
    const QImage png(path("shear.png"));
    QCOMPARE(png.convertToFormat(QImage::Format_RGB32), plot->toImage());

    // The SVG parses and holds the curve as one path through its four points, left to right.
    QFile svg(path("shear.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QList<double> xs;
    QString strokeKept; // of the group the generator opens for each pen
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("g") && xml.attributes().hasAttribute(QLatin1String("stroke")))
            strokeKept = xml.attributes().value(QLatin1String("stroke")).toString();
        if (xml.name() != QLatin1String("path") || strokeKept != QLatin1String("#0000c8")) continue;
        const QStringList numbers =
            xml.attributes().value(QLatin1String("d")).toString().split(
                QRegularExpression(QStringLiteral("[^0-9.+-]+")), Qt::SkipEmptyParts);
        for (qsizetype k = 0; k + 1 < numbers.size(); k += 2)
            xs << numbers[k].toDouble();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(xs.size(), 4);
    QVERIFY(std::is_sorted(xs.begin(), xs.end()) && xs.front() < xs.back());

    // The CSV holds the plotted numbers under the axes' quantities and units.
    QFile csv(path("shear.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0],
             QStringLiteral("time column (load factor),storey shear X [model units]"));
    for (size_t k = 0; k < 4; ++k) {
        const QStringList cells = lines[qsizetype(k) + 1].split(u',');
        QCOMPARE(cells.size(), 2);
        QCOMPARE(cells[0].toDouble(), curve.x[k]);
        QVERIFY(std::abs(cells[1].toDouble() - curve.y[k]) <= 1e-14 * std::abs(curve.y[k]));
    }
}

QTEST_MAIN(PlotSaveTest)
#include "PlotSaveTest.moc"
