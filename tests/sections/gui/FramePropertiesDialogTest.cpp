#include "sections/gui/FramePropertiesDialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using namespace vandra;
using vandra::gui::FramePropertiesDialog;

namespace {

// Eight frames over three sections and two materials. Frame 7 is the nonlinear column; frame 3
// has no section; frame 4 names a section beyond the table; frame 5's section names a material
// beyond its table.
TModel SampleModel() {
    TModel model;
    model.MatCount = 2;
    model.Mats.resize(3);
    model.Mats[1].Name = "CONC";
    model.Mats[2].Name = "STEEL";
    model.SectionCount = 3;
    model.Sections.resize(4);
    model.Sections[1].Name = "COL40";
    model.Sections[1].FrameType = kNonlinearBeamColumn;
    model.Sections[1].MatIdx = 1;
    model.Sections[2].Name = "W14";
    model.Sections[2].FrameType = kElasticBeamColumn;
    model.Sections[2].MatIdx = 2;
    model.Sections[3].Name = "ODD";
    model.Sections[3].FrameType = kTruss;
    model.Sections[3].MatIdx = 9;
    model.FrameCount = 8;
    model.Frames.resize(9);
    for (int f = 1; f <= 8; ++f) {
        model.Frames[size_t(f)].NodeI = 10 + f;
        model.Frames[size_t(f)].NodeJ = 20 + f;
        model.Frames[size_t(f)].SecIdx = 2;
    }
    model.Frames[7].SecIdx = 1;
    model.Frames[7].Angle = 0;
    model.Frames[2].Angle = 30.5;
    model.Frames[3].SecIdx = 0;
    model.Frames[4].SecIdx = 99;
    model.Frames[5].SecIdx = 3;
    model.Frames[6].Angle = -0.1;
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
    void layout() {
        TModel model;
        TInteraction interaction;
        FramePropertiesDialog dialog(model, interaction);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Frame Properties"));
        QCOMPARE(dialog.size(), QSize(298, 413));
        QCOMPARE(dialog.font().pointSize(), 8);
        QVERIFY(dialog.font().bold());
        QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("frameLabelEdit"))->isReadOnly());
        QTableWidget* grid = Grid(dialog);
        QCOMPARE(grid->rowCount(), 11);
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->columnWidth(0), 120);
        QCOMPARE(grid->columnWidth(1), 110);
        for (int row = 0; row < 11; ++row)
            QCOMPARE(grid->rowHeight(row), 24);
        QCOMPARE(Column(dialog, 0), QStringList({"Label", "Node i", "Node j", "Angle", "Section",
                                                 "Element Type", "Material", "", "", "", ""}));
    }

    void valuesOfThePickedFrame_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QStringList>("values");
        const QString e;
        QTest::newRow("nonlinear column")
            << 7 << QStringList{"7", "17", "27", "0", "COL40", "2", "CONC", e, e, e, e};
        QTest::newRow("fractional angle")
            << 2 << QStringList{"2", "12", "22", "30.5", "W14", "1", "STEEL", e, e, e, e};
        QTest::newRow("negative angle")
            << 6 << QStringList{"6", "16", "26", "-0.1", "W14", "1", "STEEL", e, e, e, e};
        QTest::newRow("no section")
            << 3 << QStringList{"3", "13", "23", "0", e, "0", e, e, e, e, e};
        QTest::newRow("section beyond its table")
            << 4 << QStringList{"4", "14", "24", "0", e, "0", e, e, e, e, e};
        QTest::newRow("material beyond its table")
            << 5 << QStringList{"5", "15", "25", "0", "ODD", "5", e, e, e, e, e};
        QTest::newRow("no frame selected") << 0 << QStringList{"0", e, e, e, e, e, e, e, e, e, e};
        QTest::newRow("frame beyond the table")
            << 9 << QStringList{"9", e, e, e, e, e, e, e, e, e, e};
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

    void refreshReadsTheStoreAgainForTheSameFrame() {
        TModel model = SampleModel();
        TInteraction interaction;
        interaction.SelectedFrame = 7;
        FramePropertiesDialog dialog(model, interaction);
        dialog.show();

        // A second pick while the window is open does not change the frame it shows.
        interaction.SelectedFrame = 2;
        dialog.show();
        model.Sections[1].Name = "COL50";
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("refreshButton")),
                          Qt::LeftButton);
        QCOMPARE(Grid(dialog)->item(0, 1)->text(), QStringLiteral("7"));
        QCOMPARE(Grid(dialog)->item(4, 1)->text(), QStringLiteral("COL50"));

        // An import that leaves fewer frames: the same number now shows nothing.
        model.FrameCount = -1;
        model.Frames.clear();
        dialog.refresh();
        QCOMPARE(Grid(dialog)->item(1, 1)->text(), QString());
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
        interaction.SelectedFrame = 7;
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
