// The test start dialog: how a setting is shown, what the input fields refuse, that
// OK hands over only complete values, and the round trip through the main window.

#include "app/mainwindow.h"
#include "app/resources.h"
#include "control/chartstart.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>
#include "widgetlookup.h"

// Only the test needs the setting as a meta-type, for QSignalSpy.
Q_DECLARE_METATYPE(Curve_Setting)

namespace {
QLineEdit *speedEdit(QObject *dialog) { return child<QLineEdit>(dialog, "speedEdit"); }
QLineEdit *distanceEdit(QObject *dialog) { return child<QLineEdit>(dialog, "distanceEdit"); }
QComboBox *modeBox(QObject *dialog) { return child<QComboBox>(dialog, "comboBox"); }
QRadioButton *absoluteButton(QObject *dialog) { return child<QRadioButton>(dialog, "absouteRBtn"); }
QRadioButton *relativeButton(QObject *dialog) { return child<QRadioButton>(dialog, "relativeRBtn"); }

void retype(QLineEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

void click(QObject *dialog, const char *button)
{
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

bool isMarked(QLineEdit *edit)
{
    return edit->property("invalidInput").toBool();
}

Curve_Setting sent(const QSignalSpy &spy, int index = -1)
{
    return spy.at(index < 0 ? spy.count() - 1 : index).first().value<Curve_Setting>();
}

const Curve_Setting Defaults{0, 0, 100, 10.0f};

// Opens the dialog from the window's Chart action, as the operator does.
chartStart *openFrom(MainWindow &window)
{
    child<QAction>(&window, "actionChart")->trigger();
    return child<chartStart>(&window, "chartStart");
}

} // namespace

class tst_ChartStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void showsSetting_data();
    void showsSetting();
    void fieldsRefuseInput_data();
    void fieldsRefuseInput();
    void okSendsTheChoice();
    void okWithIncompleteFieldSendsNothing_data();
    void okWithIncompleteFieldSendsNothing();
    void cancelSendsNothing();
    void modeHoldsInChinese_data();
    void modeHoldsInChinese();

    void windowOpensDialogOnItsSetting();
    void confirmedSettingComesBack_data();
    void confirmedSettingComesBack();
    void cancelKeepsWindowSetting();
    void startNeedsConfirmationWhileConnected();
};

void tst_ChartStart::initTestCase()
{
    qRegisterMetaType<Curve_Setting>("Curve_Setting");
    quelmarInitResources();
}

void tst_ChartStart::showsSetting_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("distanceMode");
    QTest::addColumn<int>("speed");
    QTest::addColumn<float>("distance");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<QString>("speedText");
    QTest::addColumn<QString>("distanceText");

    QTest::newRow("defaults") << 0 << 0 << 100 << 10.0f << 0 << false << "100" << "10.0";
    QTest::newRow("pull absolute") << 1 << 1 << 250 << -12.5f << 1 << true << "250" << "-12.5";
    QTest::newRow("two decimals shown as one") << 0 << 0 << 1 << 12.25f << 0 << false << "1" << "12.3";
    // The combo starts on PULL here; an unknown mode leaves it there.
    QTest::newRow("unknown mode") << 7 << 0 << 300 << -700.0f << 1 << false << "300" << "-700.0";
    QTest::newRow("any non-zero distance mode") << 0 << 2 << 5 << 0.0f << 0 << true << "5" << "0.0";
}

void tst_ChartStart::showsSetting()
{
    QFETCH(int, mode);
    QFETCH(int, distanceMode);
    QFETCH(int, speed);
    QFETCH(float, distance);

    chartStart dialog;
    modeBox(&dialog)->setCurrentIndex(1);
    absoluteButton(&dialog)->setChecked(true); // so that relative must be restored
    dialog.receiveCurveSetting({mode, distanceMode, speed, distance});

    QTEST(modeBox(&dialog)->currentIndex(), "comboIndex");
    QTEST(absoluteButton(&dialog)->isChecked(), "absolute");
    QCOMPARE(relativeButton(&dialog)->isChecked(), !absoluteButton(&dialog)->isChecked());
    QTEST(speedEdit(&dialog)->text(), "speedText");
    QTEST(distanceEdit(&dialog)->text(), "distanceText");
}

void tst_ChartStart::fieldsRefuseInput_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("fourth speed digit") << "speedEdit" << "1234" << "123";
    QTest::newRow("minus in speed") << "speedEdit" << "-5" << "5";
    QTest::newRow("top speed") << "speedEdit" << "300" << "300";
    QTest::newRow("point after 700") << "distanceEdit" << "700.5" << "700";
    QTest::newRow("four digits") << "distanceEdit" << "7000" << "700";
    QTest::newRow("third decimal") << "distanceEdit" << "1.234" << "1.23";
    QTest::newRow("second minus") << "distanceEdit" << "--5" << "-5";
    QTest::newRow("lowest distance") << "distanceEdit" << "-700" << "-700";
    QTest::newRow("just below 700") << "distanceEdit" << "-699.99" << "-699.99";
}

void tst_ChartStart::fieldsRefuseInput()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    chartStart dialog;
    auto *edit = child<QLineEdit>(&dialog, field.toLatin1().constData());
    retype(edit, typed);
    QTEST(edit->text(), "kept");
}

void tst_ChartStart::okSendsTheChoice()
{
    chartStart dialog;
    dialog.receiveCurveSetting(Defaults);
    dialog.show();
    modeBox(&dialog)->setCurrentIndex(1);
    absoluteButton(&dialog)->setChecked(true);
    retype(speedEdit(&dialog), "250");
    retype(distanceEdit(&dialog), "-12.5");

    QSignalSpy spy(&dialog, SIGNAL(sendCurveSetting(Curve_Setting)));
    click(&dialog, "okBtn");

    QCOMPARE(spy.count(), 1);
    const Curve_Setting s = sent(spy);
    QCOMPARE(s.mode, 1);
    QCOMPARE(s.distanceMode, 1);
    QCOMPARE(s.speed, 250);
    QCOMPARE(s.distance, -12.5f);
    QVERIFY(!dialog.isVisible());
}

void tst_ChartStart::okWithIncompleteFieldSendsNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("incomplete");
    QTest::addColumn<QString>("corrected");

    QTest::newRow("empty speed") << "speedEdit" << "" << "250";
    QTest::newRow("speed zero") << "speedEdit" << "0" << "1";
    QTest::newRow("speed above range") << "speedEdit" << "400" << "40";
    QTest::newRow("empty distance") << "distanceEdit" << "" << "5";
    QTest::newRow("lone minus") << "distanceEdit" << "-" << "-5";
    QTest::newRow("trailing point") << "distanceEdit" << "12." << "12.5";
}

void tst_ChartStart::okWithIncompleteFieldSendsNothing()
{
    QFETCH(QString, field);
    QFETCH(QString, incomplete);
    QFETCH(QString, corrected);

    chartStart dialog;
    dialog.receiveCurveSetting(Defaults);
    dialog.show();
    auto *edit = child<QLineEdit>(&dialog, field.toLatin1().constData());
    auto *other = edit == speedEdit(&dialog) ? distanceEdit(&dialog) : speedEdit(&dialog);
    retype(edit, incomplete);
    QCOMPARE(edit->text(), incomplete);

    QSignalSpy spy(&dialog, SIGNAL(sendCurveSetting(Curve_Setting)));
    click(&dialog, "okBtn");
    QCOMPARE(spy.count(), 0);
    QVERIFY(dialog.isVisible());
    QVERIFY(isMarked(edit));
    QVERIFY(!isMarked(other));
    QCOMPARE(dialog.focusWidget(), edit);

    retype(edit, corrected);
    QVERIFY(!isMarked(edit));
    click(&dialog, "okBtn");
    QCOMPARE(spy.count(), 1);
    QVERIFY(!dialog.isVisible());
}

void tst_ChartStart::cancelSendsNothing()
{
    chartStart dialog;
    dialog.receiveCurveSetting(Defaults);
    dialog.show();
    retype(speedEdit(&dialog), "250");
    QSignalSpy spy(&dialog, SIGNAL(sendCurveSetting(Curve_Setting)));
    click(&dialog, "cancelBtn");
    QCOMPARE(spy.count(), 0);
    QVERIFY(!dialog.isVisible());
}

void tst_ChartStart::modeHoldsInChinese_data()
{
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<int>("mode");
    QTest::newRow("first item") << 0 << 0;
    QTest::newRow("second item") << 1 << 1;
}

void tst_ChartStart::modeHoldsInChinese()
{
    QFETCH(int, comboIndex);
    QTranslator chinese;
    QVERIFY(chinese.load(":/language/cn.qm"));
    QCoreApplication::installTranslator(&chinese);

    chartStart dialog;
    dialog.receiveCurveSetting(Defaults);
    QCOMPARE(modeBox(&dialog)->itemText(0), QString::fromUtf8("压缩"));
    QCOMPARE(modeBox(&dialog)->itemText(1), QString::fromUtf8("拉伸"));
    modeBox(&dialog)->setCurrentIndex(comboIndex);
    QSignalSpy spy(&dialog, SIGNAL(sendCurveSetting(Curve_Setting)));
    click(&dialog, "okBtn");
    QCoreApplication::removeTranslator(&chinese);

    QCOMPARE(spy.count(), 1);
    QTEST(sent(spy).mode, "mode");
}

void tst_ChartStart::windowOpensDialogOnItsSetting()
{
    MainWindow window;
    chartStart *dialog = openFrom(window);

    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowType(), Qt::Dialog);
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    QCOMPARE(dialog->windowTitle(), QString("ChartSetting"));
    QCOMPARE(modeBox(dialog)->currentText(), QString("PUSH"));
    QVERIFY(relativeButton(dialog)->isChecked());
    QCOMPARE(speedEdit(dialog)->text(), QString("100"));
    QCOMPARE(distanceEdit(dialog)->text(), QString("10.0"));

    QPointer<chartStart> closed(dialog);
    dialog->close();
    QTRY_VERIFY(closed.isNull()); // deleted on close
}

// The window primes each new dialog with its stored setting (its sendCurveSetting), so
// the spy on that signal shows what the window keeps.
void tst_ChartStart::confirmedSettingComesBack_data()
{
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<float>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("pull absolute") << 1 << true << "250" << "-12.5" << -12.5f << "-12.5";
    QTest::newRow("two decimals") << 0 << false << "100" << "12.25" << 12.25f << "12.3";
}

void tst_ChartStart::confirmedSettingComesBack()
{
    QFETCH(int, comboIndex);
    QFETCH(bool, absolute);
    QFETCH(QString, speed);
    QFETCH(QString, distance);
    QFETCH(float, stored);
    QFETCH(QString, shown);

    MainWindow window;
    QSignalSpy kept(&window, SIGNAL(sendCurveSetting(Curve_Setting)));

    QPointer<chartStart> dialog = openFrom(window);
    modeBox(dialog)->setCurrentIndex(comboIndex);
    (absolute ? absoluteButton(dialog) : relativeButton(dialog))->setChecked(true);
    retype(speedEdit(dialog), speed);
    retype(distanceEdit(dialog), distance);
    click(dialog, "okBtn");
    QTRY_VERIFY(dialog.isNull());

    dialog = openFrom(window);
    QCOMPARE(kept.count(), 2);
    QCOMPARE(sent(kept).mode, comboIndex);
    QCOMPARE(sent(kept).distanceMode, absolute ? 1 : 0);
    QCOMPARE(sent(kept).speed, speed.toInt());
    QCOMPARE(sent(kept).distance, stored);
    QCOMPARE(modeBox(dialog)->currentIndex(), comboIndex);
    QCOMPARE(absoluteButton(dialog)->isChecked(), absolute);
    QCOMPARE(speedEdit(dialog)->text(), speed);
    QCOMPARE(distanceEdit(dialog)->text(), shown);

    // OK without editing confirms what is shown.
    click(dialog, "okBtn");
    QTRY_VERIFY(dialog.isNull());
    dialog = openFrom(window);
    QCOMPARE(sent(kept).distance, shown.toFloat());
    dialog->close();
}

void tst_ChartStart::cancelKeepsWindowSetting()
{
    MainWindow window;
    QSignalSpy kept(&window, SIGNAL(sendCurveSetting(Curve_Setting)));
    QPointer<chartStart> dialog = openFrom(window);
    retype(speedEdit(dialog), "250");
    click(dialog, "cancelBtn");
    QTRY_VERIFY(dialog.isNull());

    dialog = openFrom(window);
    QCOMPARE(sent(kept).speed, 100);
    QCOMPARE(speedEdit(dialog)->text(), QString("100"));
    dialog->close();
}

void tst_ChartStart::startNeedsConfirmationWhileConnected()
{
    MainWindow window;
    auto *start = child<QPushButton>(&window, "startBtn");

    QPointer<chartStart> dialog = openFrom(window);
    click(dialog, "okBtn");
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(!start->isEnabled());

    child<QAction>(&window, "actionConnect")->setEnabled(false); // the window counts as connected
    dialog = openFrom(window);
    click(dialog, "okBtn");
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(start->isEnabled());
}

QTEST_MAIN(tst_ChartStart)
#include "tst_chartstart.moc"
