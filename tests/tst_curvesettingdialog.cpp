// The axis settings: the dialog's filling, OK and Cancel, and the chart
// applying the setting, alone and through the main window.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include "app/mainwindow.h"
#include "chart/curveplot.h"
#include "chart/curvesettingdialog.h"
#include "chart/forceunit.h"
#include "modaldialogs.h"

Q_DECLARE_METATYPE(AxisSetting)

namespace {

const AxisSetting startSetting{0, 100, -300, 500, false, false};

QStringList editTexts(const QWidget *dialog)
{
    QStringList texts;
    for (const char *name : {"xAxisMinEdit", "xAxisMaxEdit", "yAxisMinEdit", "yAxisMaxEdit"})
        texts << dialog->findChild<QLineEdit *>(QLatin1String(name))->text();
    return texts;
}

void setEditTexts(QWidget *dialog, const QStringList &texts)
{
    int i = 0;
    for (const char *name : {"xAxisMinEdit", "xAxisMaxEdit", "yAxisMinEdit", "yAxisMaxEdit"})
        dialog->findChild<QLineEdit *>(QLatin1String(name))->setText(texts.at(i++));
}

QCheckBox *checkBox(const QWidget *dialog, const char *name)
{
    return dialog->findChild<QCheckBox *>(QLatin1String(name));
}

void click(const QWidget *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(QLatin1String(button))->click();
}

} // namespace

// QCOMPARE finds these beside the type, in the global namespace.
bool operator==(const AxisSetting &a, const AxisSetting &b)
{
    return a.xMin == b.xMin && a.xMax == b.xMax && a.yMin == b.yMin && a.yMax == b.yMax
           && a.xReversed == b.xReversed && a.yReversed == b.yReversed;
}

char *toString(const AxisSetting &s)
{
    return qstrdup(qPrintable(QStringLiteral("x %1..%2%3, y %4..%5%6")
                                  .arg(s.xMin).arg(s.xMax).arg(s.xReversed ? " reversed" : "")
                                  .arg(s.yMin).arg(s.yMax).arg(s.yReversed ? " reversed" : "")));
}

class CurveSettingDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { ForceUnit::resetDisplayState(); }

    void filling_data()
    {
        QTest::addColumn<AxisSetting>("setting");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("at start") << startSetting << 3 << QStringList{"0.0", "100.0", "-300.000", "500.000"};
        QTest::newRow("force without decimals") << startSetting << 0 << QStringList{"0.0", "100.0", "-300", "500"};
        QTest::newRow("rounded for the eye") << AxisSetting{12.34, 56.78, -1.23456, 9.87654, true, false} << 2
                                             << QStringList{"12.3", "56.8", "-1.23", "9.88"};
        QTest::newRow("negative decimals") << AxisSetting{-5.55, 5.55, -2.5, 2.5, false, true} << -1
                                           << QStringList{"-5.5", "5.5", "-3", "3"};
    }

    void filling()
    {
        QFETCH(AxisSetting, setting);
        QFETCH(int, decimals);
        QFETCH(QStringList, texts);
        forceDecimals = decimals;
        curveSettingDialog dialog(nullptr, setting);
        QCOMPARE(editTexts(&dialog), texts);
        QCOMPARE(checkBox(&dialog, "xAxisReversed")->isChecked(), setting.xReversed);
        QCOMPARE(checkBox(&dialog, "yAxisReversed")->isChecked(), setting.yReversed);
        QVERIFY(!checkBox(&dialog, "checkBox")->isChecked());
    }

    void ok_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("xReversed");
        QTest::addColumn<bool>("yReversed");
        QTest::addColumn<AxisSetting>("sent");
        QTest::newRow("as filled") << QStringList{"0.0", "100.0", "-300.000", "500.000"} << false << false << startSetting;
        QTest::newRow("min above max passes as typed") << QStringList{"80", "20", "5", "-5"} << true << false
                                                       << AxisSetting{80, 20, 5, -5, true, false};
        QTest::newRow("no number reads 0") << QStringList{"abc", "", "1,5", "--1"} << false << true
                                           << AxisSetting{0, 0, 0, 0, false, true};
        QTest::newRow("blanks and exponents") << QStringList{" 12.5 ", "1e2", "-3.25", "+7"} << true << true
                                              << AxisSetting{12.5, 100, -3.25, 7, true, true};
    }

    void ok()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, xReversed);
        QFETCH(bool, yReversed);
        QFETCH(AxisSetting, sent);
        curveSettingDialog dialog(nullptr, startSetting);
        QVector<AxisSetting> received;
        connect(&dialog, &curveSettingDialog::sendAxisSet, [&](AxisSetting s) { received << s; });
        dialog.show();
        setEditTexts(&dialog, texts);
        checkBox(&dialog, "xAxisReversed")->setChecked(xReversed);
        checkBox(&dialog, "yAxisReversed")->setChecked(yReversed);
        click(&dialog, "okBtn");
        QCOMPARE(received, QVector<AxisSetting>{sent});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void cancelSendsNothing()
    {
        curveSettingDialog dialog(nullptr, startSetting);
        int sent = 0;
        connect(&dialog, &curveSettingDialog::sendAxisSet, [&] { ++sent; });
        dialog.show();
        setEditTexts(&dialog, {"1", "2", "3", "4"});
        click(&dialog, "cancelBtn");
        QCOMPARE(sent, 0);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }

    void chartApplies_data()
    {
        QTest::addColumn<AxisSetting>("setting");
        QTest::addColumn<AxisSetting>("shown");
        QTest::newRow("plain") << AxisSetting{10, 20, -1, 1, false, false} << AxisSetting{10, 20, -1, 1, false, false};
        QTest::newRow("bounds the wrong way round") << AxisSetting{80, 20, 5, -5, false, false}
                                                    << AxisSetting{20, 80, -5, 5, false, false};
        QTest::newRow("equal force bounds, directions apply") << AxisSetting{0, 50, 7, 7, true, true}
                                                              << AxisSetting{0, 50, -300, 500, true, true};
        QTest::newRow("all read as 0") << AxisSetting{0, 0, 0, 0, false, true} << AxisSetting{0, 100, -300, 500, false, true};
    }

    void chartApplies()
    {
        QFETCH(AxisSetting, setting);
        QFETCH(AxisSetting, shown);
        QCustomPlot plot;
        CurvePlot curves(&plot);
        curves.init();
        QCOMPARE(curves.axisSetting(), startSetting);
        curves.applyAxisSetting(setting);
        QCOMPARE(curves.axisSetting(), shown);
    }

    void windowRoundTrip_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<AxisSetting>("after");
        // OK without editing applies the values as shown: distance to 1 decimal, force to 3.
        QTest::newRow("ok") << "okBtn" << AxisSetting{1.3, 99.9, -123.457, 456.79, true, false};
        QTest::newRow("cancel") << "cancelBtn" << AxisSetting{1.26, 99.94, -123.4567, 456.78951, true, false};
    }

    void windowRoundTrip()
    {
        QFETCH(QString, button);
        QFETCH(AxisSetting, after);
        MainWindow window;
        auto *plot = window.findChild<QCustomPlot *>(QStringLiteral("userPlot"));
        plot->xAxis->setRange(1.26, 99.94);
        plot->xAxis->setRangeReversed(true);
        plot->yAxis->setRange(-123.4567, 456.78951);
        QStringList shown;
        const int ran = runModal([&] { window.findChild<QPushButton *>(QStringLiteral("axisSetBtn"))->click(); },
                                 {[&](QWidget *dialog) {
                                      shown = editTexts(dialog);
                                      shown << dialog->windowTitle();
                                      click(dialog, qPrintable(button));
                                  }});
        QCOMPARE(ran, 1);
        QCOMPARE(shown, (QStringList{"1.3", "99.9", "-123.457", "456.790", "AxisSetting"}));
        QCOMPARE(CurvePlot(plot).axisSetting(), after);
        QVERIFY(window.findChildren<curveSettingDialog *>().isEmpty());
    }
};

QTEST_MAIN(CurveSettingDialogTest)
#include "tst_curvesettingdialog.moc"
