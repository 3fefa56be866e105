#include "sections/gui/FramePropertiesDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using namespace vandra;
using vandra::gui::FramePropertiesDialog;

namespace {

// Frame 1 is a nonlinear column; frame 3 has no section; frame 4 names a section beyond the table;
// frame 5's section names a material beyond its table.
TSECTION Section(int frameType, int matIdx, const char* name) {
    TSECTION s;
    s.FrameType = frameType;
    s.MatIdx = matIdx;
    s.Name = name;
    return s;
}

TFRAME Frame(int secIdx, int nodeI, int nodeJ, double angle) {
    TFRAME f;
    f.SecIdx = secIdx;
    f.NodeI = nodeI;
    f.NodeJ = nodeJ;
    f.Angle = angle;
    return f;
}

TModel SampleModel() {
    TModel model;
    model.MatCount = 2;
    model.Mats.resize(3);
    model.Mats[1].Name = "CONC";
    model.Mats[2].Name = "STEEL";
    model.SectionCount = 3;
    model.Sections = {{},
                      Section(kNonlinearBeamColumn, 1, "COL40"),
                      Section(kElasticBeamColumn, 2, "W14"),
                      Section(kTruss, 9, "ODD")};
    model.FrameCount = 5;
    model.Frames = {{},
                    Frame(1, 11, 21, 0),
                    Frame(2, 12, 22, 30.5),
                    Frame(0, 13, 23, 0),
                    Frame(99, 14, 24, 0),
                    Frame(3, 15, 25, 0)};
    return model;
}

} // namespace

class FramePropertiesDialogTest : public QObject {
    Q_OBJECT

    static QTableWidget* Grid(QDialog& d) {
        return d.findChild<QTableWidget*>(QStringLiteral("propertiesGrid"));
    }
    static QStringList Column(QDialog& d, int column) {
        QStringList cells;
        for (int row = 0; row < Grid(d)->rowCount(); ++row)
            cells << Grid(d)->item(row, column)->text();
        return cells;
    }

private slots:
    void valuesOfThePickedFrame_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QStringList>("values");
        const QString e;
        QTest::newRow("nonlinear column")
            << 1 << QStringList{"1", "11", "21", "0", "COL40", "2", "CONC", e, e, e, e};
        QTest::newRow("fractional angle")
            << 2 << QStringList{"2", "12", "22", "30.5", "W14", "1", "STEEL", e, e, e, e};
        QTest::newRow("no section")
            << 3 << QStringList{"3", "13", "23", "0", e, "0", e, e, e, e, e};
        QTest::newRow("section beyond its table")
            << 4 << QStringList{"4", "14", "24", "0", e, "0", e, e, e, e, e};
        QTest::newRow("material beyond its table")
            << 5 << QStringList{"5", "15", "25", "0", "ODD", "5", e, e, e, e, e};
        QTest::newRow("no frame selected") << 0 << QStringList{"0", e, e, e, e, e, e, e, e, e, e};
        QTest::newRow("frame beyond the table")
            << 6 << QStringList{"6", e, e, e, e, e, e, e, e, e, e};
    }

    void valuesOfThePickedFrame() {
        QFETCH(int, frame);
        QFETCH(QStringList, values);
        TModel model = SampleModel();
        TInteraction interaction;
        interaction.SelectedFrame = frame;
        FramePropertiesDialog dialog(model, interaction);
        dialog.show();
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("frameLabelEdit"))->text(), values[0]);
        QCOMPARE(Column(dialog, 1), values);
    }

    void closingEndsTheSelection_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK button") << QStringLiteral("ok");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("Escape key") << QStringLiteral("escape");
    }

    void closingEndsTheSelection() {
        QFETCH(QString, how);
        TModel model = SampleModel();
        TInteraction interaction;
        interaction.SelectedFrame = 1;
        FramePropertiesDialog dialog(model, interaction);
        QSignalSpy cleared(&dialog, &FramePropertiesDialog::selectionCleared);
        dialog.show();
        if (how == QLatin1String("ok"))
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                              Qt::LeftButton);
        else if (how == QLatin1String("close"))
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(interaction.SelectedFrame, 0);
        QCOMPARE(cleared.count(), 1);
    }
};

QTEST_MAIN(FramePropertiesDialogTest)
#include "FramePropertiesDialogTest.moc"
