// The machine parameter dialog: how the parameters are shown and edited, and the
// dialog opened from the main window against the controller double on a pty.

#include <QtTest>
#include <QtWidgets>
#include <functional>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "chart/forceunit.h"
#include "machine/machineparameter.h"
#include "machine/parameterfields.h"
#include "sim/controllerdouble.h"
#include "sim/rtuslave.h"

using namespace ParameterFields;

namespace {
constexpr quint8 WriteMultiple = 0x10;

// Read from the controller by every test: stop value, step distance, peak-low set
// (N, mm, N), speed, total count.
const QVector<float> ReadPointSet{98.0f, 2.5f, 49.0f};
const QVector<int> ReadSystemSet{100, 12};

// The controller's answer to request 5, as it leaves holding registers 0..8.
QVector<quint16> systemSetAnswer(const QVector<float> &pointSet, const QVector<int> &systemSet)
{
    QVector<quint16> words{6};
    for (float value : pointSet)
        words << ControllerDouble::lowWord(value) << ControllerDouble::highWord(value);
    for (int value : systemSet)
        words << quint16(value);
    return words;
}

QStringList toList(const Texts &texts)
{
    return QStringList(texts.begin(), texts.end());
}

QLineEdit *edit(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(QLatin1String(name));
}

QString labelText(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(QLatin1String(name))->text();
}

QPushButton *changeButton(QWidget *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("changeBtn"));
}

bool isMarked(QLineEdit *edit)
{
    return edit->property("invalidInput").toBool();
}

// Triggers `opener` and, once its dialog runs modally, hands the dialog to `drive`
// and closes it. False when no modal dialog came.
bool runModal(QAction *opener, const std::function<void(machineParameter *)> &drive)
{
    bool ran = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<machineParameter *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        ran = true;
        drive(dialog);
        dialog->reject();
    });
    poll.start();
    opener->trigger();
    poll.stop();
    return ran;
}
} // namespace

class MachineParameterTest : public QObject
{
    Q_OBJECT

private:
    ControllerDouble *controller = nullptr;
    RtuSlave *slave = nullptr;
    MainWindow *window = nullptr;

    QAction *action(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }

    // Connects the window to the controller and waits until its force unit and
    // decimals have come with a status poll.
    void connectWindow(uint8_t unit)
    {
        controller->setInput(8, unit);
        controller->setInput(9, 3);
        window->usePort(slave->portPath());
        action("actionConnect")->trigger();
        QVERIFY(!action("actionConnect")->isEnabled());
        QTRY_COMPARE(forceUnit, unit);
        QCOMPARE(forceDecimals, 3);
    }

    void answerSystemSetRequests(const QVector<float> &pointSet, const QVector<int> &systemSet)
    {
        const QVector<quint16> answer = systemSetAnswer(pointSet, systemSet);
        controller->setHoldingWriteHook([this, answer](quint16 address, const QVector<quint16> &words) {
            if (address == 0 && words.value(0) == 5)
                controller->setHoldingWords(0, answer);
        });
    }

    QVector<QVector<quint16>> writesSince(int first, quint16 code) const
    {
        QVector<QVector<quint16>> writes;
        for (const SlaveRequest &r : slave->requests().mid(first))
            if (r.function == WriteMultiple && r.address == 0 && r.words.value(0) == code)
                writes << r.words;
        return writes;
    }

private slots:
    void initTestCase() { quelmarInitResources(); }

    void init()
    {
        ForceUnit::resetDisplayState();
        controller = new ControllerDouble;
        slave = new RtuSlave(controller);
        QVERIFY2(slave->start(), qPrintable(slave->errorString()));
        window = new MainWindow;
    }

    void cleanup()
    {
        delete window;
        delete slave;
        delete controller;
    }

    void shownTexts_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QVector<float>>("pointSet");
        QTest::addColumn<QVector<int>>("systemSet");
        QTest::addColumn<QStringList>("texts");  // total, stop, step, peak-low, speed
        QTest::addColumn<int>("shownUnit");

        QTest::newRow("kg") << 1 << 3 << ReadPointSet << ReadSystemSet
                            << QStringList{"12", "10.000", "2.5", "5.000", "100"} << 1;
        QTest::newRow("lb") << 2 << 3 << ReadPointSet << ReadSystemSet
                            << QStringList{"12", "22.046", "2.5", "11.023", "100"} << 2;
        QTest::newRow("newtons, one decimal") << 0 << 1 << ReadPointSet << ReadSystemSet
                                              << QStringList{"12", "98.0", "2.5", "49.0", "100"} << 0;
        QTest::newRow("step distance rounded to one decimal")
            << 2 << 0 << QVector<float>{98.4f, 2.46f, 0.0f} << ReadSystemSet
            << QStringList{"12", "22", "2.5", "0", "100"} << 2;
        QTest::newRow("16-bit words") << 0 << 3 << ReadPointSet << QVector<int>{65535, 65535}
                                      << QStringList{"65535", "98.000", "2.5", "49.000", "65535"} << 0;
        QTest::newRow("unknown unit shows newtons") << 7 << 3 << ReadPointSet << ReadSystemSet
                                                    << QStringList{"12", "98.000", "2.5", "49.000", "100"} << 0;
        QTest::newRow("decimals bounded") << 0 << 65535 << ReadPointSet << ReadSystemSet
                                          << QStringList{"12", "98.000000000", "2.5", "49.000000000", "100"} << 0;
        QTest::newRow("extra elements ignored") << 1 << 3 << QVector<float>{98.0f, 2.5f, 49.0f, 7.0f}
                                                << QVector<int>{100, 12, 5}
                                                << QStringList{"12", "10.000", "2.5", "5.000", "100"} << 1;
    }

    void shownTexts()
    {
        QFETCH(int, unit);
        QFETCH(int, decimals);
        QFETCH(QVector<float>, pointSet);
        QFETCH(QVector<int>, systemSet);
        QFETCH(QStringList, texts);
        QFETCH(int, shownUnit);
        const std::optional<Shown> shownParameters = shown(pointSet, systemSet, uint8_t(unit), decimals);
        QVERIFY(shownParameters);
        QCOMPARE(toList(shownParameters->texts), texts);
        QCOMPARE(int(shownParameters->unit), shownUnit);
    }

    void shortAnswersAreNotShown()
    {
        QVERIFY(!shown({98.0f, 2.5f}, ReadSystemSet, 0, 3));
        QVERIFY(!shown(ReadPointSet, {100}, 0, 3));
    }

    void editedValues_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("field");  // -1: nothing edited
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<float>>("pointSet");
        QTest::addColumn<QVector<int>>("systemSet");

        // Untouched fields go back exactly as read, whatever their rounding.
        QTest::newRow("untouched, kg") << 1 << -1 << QString() << ReadPointSet << ReadSystemSet;
        QTest::newRow("untouched, lb") << 2 << -1 << QString() << ReadPointSet << ReadSystemSet;
        QTest::newRow("kg typed") << 1 << int(StopValue) << "11" << QVector<float>{107.8f, 2.5f, 49.0f}
                                  << ReadSystemSet;
        QTest::newRow("lb typed") << 2 << int(PeakLowSet) << "22.046" << QVector<float>{98.0f, 2.5f, 98.0f}
                                  << ReadSystemSet;
        QTest::newRow("newtons typed") << 0 << int(StopValue) << "150.5" << QVector<float>{150.5f, 2.5f, 49.0f}
                                       << ReadSystemSet;
        QTest::newRow("negative force") << 1 << int(StopValue) << "-1" << QVector<float>{-9.8f, 2.5f, 49.0f}
                                        << ReadSystemSet;
        QTest::newRow("distance never converted") << 2 << int(StepDistance) << "3.7"
                                                  << QVector<float>{98.0f, 3.7f, 49.0f} << ReadSystemSet;
        QTest::newRow("speed 65535") << 0 << int(Speed) << "65535" << ReadPointSet << QVector<int>{65535, 12};
        QTest::newRow("total 0") << 0 << int(TotalNum) << "0" << ReadPointSet << QVector<int>{100, 0};
    }

    void editedValues()
    {
        QFETCH(int, unit);
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QVector<float>, pointSet);
        QFETCH(QVector<int>, systemSet);
        const Shown shownParameters = *shown(ReadPointSet, ReadSystemSet, uint8_t(unit), 3);
        Texts texts = shownParameters.texts;
        if (field >= 0)
            texts[field] = text;
        const Edited change = edited(shownParameters, texts);
        QVERIFY(change.invalid.isEmpty());
        QCOMPARE(change.pointSet, pointSet);
        QCOMPARE(change.systemSet, systemSet);
    }

    void untouchedFieldsGoBackAsRead()
    {
        // Shown as "22", "2.5" and "0" lb: converted back they would be 97.8 N, 2.5 mm and 0 N.
        const QVector<float> read{98.4f, 2.46f, 0.1234f};
        const Shown shownParameters = *shown(read, ReadSystemSet, ForceUnit::Pound, 0);
        const Edited change = edited(shownParameters, shownParameters.texts);
        QCOMPARE(change.pointSet, read);
        QCOMPARE(change.systemSet, ReadSystemSet);
    }

    void invalidFields_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty force") << int(StopValue) << "";
        QTest::newRow("not a number") << int(PeakLowSet) << "abc";
        QTest::newRow("comma") << int(StepDistance) << "2,5";
        QTest::newRow("infinite") << int(StopValue) << "inf";
        QTest::newRow("not a number value") << int(StepDistance) << "nan";
        QTest::newRow("overflows in newtons") << int(StopValue) << "3.4e38";
        QTest::newRow("speed 65536") << int(Speed) << "65536";
        QTest::newRow("speed -1") << int(Speed) << "-1";
        QTest::newRow("fractional count") << int(TotalNum) << "1.5";
        QTest::newRow("hexadecimal count") << int(TotalNum) << "0x10";
        QTest::newRow("empty count") << int(TotalNum) << "";
    }

    void invalidFields()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        // Kilograms, so that a force that fits a float can overflow in newtons.
        const Shown shownParameters = *shown(ReadPointSet, ReadSystemSet, ForceUnit::Kilogram, 3);
        Texts texts = shownParameters.texts;
        texts[field] = text;
        const Edited change = edited(shownParameters, texts);
        QCOMPARE(change.invalid, QVector<Field>{Field(field)});
        QVERIFY(change.pointSet.isEmpty());
        QVERIFY(change.systemSet.isEmpty());
    }

    void everyInvalidFieldIsReported()
    {
        const Shown shownParameters = *shown(ReadPointSet, ReadSystemSet, ForceUnit::Newton, 3);
        Texts texts = shownParameters.texts;
        texts[Speed] = "fast";
        texts[StopValue] = "";
        QCOMPARE(edited(shownParameters, texts).invalid, (QVector<Field>{StopValue, Speed}));
    }

    // The dialog itself, without a device.

    void markedFieldBlocksChangeUntilCorrected()
    {
        machineParameter dialog;
        QSignalSpy changes(&dialog, &machineParameter::systemSetChangeRequest);
        dialog.receiveSystemSetting(ReadPointSet, ReadSystemSet);
        QLineEdit *speed = edit(&dialog, "sysSpeedEdit");
        speed->setText("70000");
        changeButton(&dialog)->click();
        QCOMPARE(changes.count(), 0);
        QVERIFY(isMarked(speed));
        QVERIFY(!isMarked(edit(&dialog, "sysStopValueEdit")));

        speed->setText("7000");  // corrected: the mark goes at once
        QVERIFY(!isMarked(speed));
        changeButton(&dialog)->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first()[1].value<QVector<int>>(), (QVector<int>{7000, 12}));
    }

    void changeConvertsWithTheUnitShown()
    {
        forceUnit = ForceUnit::Kilogram;
        machineParameter dialog;
        QSignalSpy changes(&dialog, &machineParameter::systemSetChangeRequest);
        dialog.receiveSystemSetting(ReadPointSet, ReadSystemSet);
        QCOMPARE(labelText(&dialog, "sysStopValueUnitLabel"), QStringLiteral("Kg"));
        // The controller switches to pounds while the dialog is open.
        forceUnit = ForceUnit::Pound;
        edit(&dialog, "sysStopValueEdit")->setText("11");
        changeButton(&dialog)->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first()[0].value<QVector<float>>(), (QVector<float>{107.8f, 2.5f, 49.0f}));
        QCOMPARE(labelText(&dialog, "sysStopValueUnitLabel"), QStringLiteral("Kg"));
    }

    void gridFillsTheTabPage()
    {
        machineParameter dialog;
        auto *grid = dialog.findChild<QGridLayout *>(QStringLiteral("gridLayout"));
        QVERIFY(grid);
        QCOMPARE(grid->parentWidget(), dialog.findChild<QWidget *>(QStringLiteral("tab")));
        QCOMPARE(dialog.findChild<QTabWidget *>(QStringLiteral("tabWidget"))->currentIndex(), 0);
    }

    // Opened from the main window, against the controller double.

    void openingReadsAndChangeWrites_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("unitName");
        QTest::addColumn<QStringList>("texts");  // total, stop, step, peak-low, speed
        QTest::addColumn<QString>("typedStop");
        QTest::addColumn<float>("writtenStop");
        QTest::newRow("kg") << 1 << "Kg" << QStringList{"12", "10.000", "2.5", "5.000", "65535"} << "20.000"
                            << 196.0f;
        QTest::newRow("lb") << 2 << "Lb" << QStringList{"12", "22.046", "2.5", "11.023", "65535"} << "44.092"
                            << 196.0f;
    }

    void openingReadsAndChangeWrites()
    {
        QFETCH(int, unit);
        QFETCH(QString, unitName);
        QFETCH(QStringList, texts);
        QFETCH(QString, typedStop);
        QFETCH(float, writtenStop);
        const QVector<int> systemSet{65535, 12};
        answerSystemSetRequests(ReadPointSet, systemSet);
        connectWindow(uint8_t(unit));

        const int first = slave->requestCount();
        QVERIFY(runModal(action("actionmachine_parameter"), [&](machineParameter *dialog) {
            QCOMPARE(writesSince(first, 5), (QVector<QVector<quint16>>{{5, 1}}));
            QCOMPARE((QStringList{edit(dialog, "sysTotalNumEdit")->text(), edit(dialog, "sysStopValueEdit")->text(),
                                  edit(dialog, "sysStepDistanceEdit")->text(),
                                  edit(dialog, "sysPeakLowSetEdit")->text(), edit(dialog, "sysSpeedEdit")->text()}),
                     texts);
            QCOMPARE(labelText(dialog, "sysStopValueUnitLabel"), unitName);
            QCOMPARE(labelText(dialog, "sysPeakLowSetUnitLabel"), unitName);

            edit(dialog, "sysStopValueEdit")->setText(typedStop);
            const int beforeChange = slave->requestCount();
            changeButton(dialog)->click();  // written at once, on this thread
            const QVector<QVector<quint16>> written = writesSince(beforeChange, 9);
            QCOMPARE(written.size(), 1);
            const QVector<quint16> &words = written.first();
            QCOMPARE(words.size(), 9);
            QCOMPARE(ControllerDouble::toFloat(words[1], words[2]), writtenStop);
            QCOMPARE(ControllerDouble::toFloat(words[3], words[4]), 2.5f);
            QCOMPARE(ControllerDouble::toFloat(words[5], words[6]), 49.0f);
            QCOMPARE(words.mid(7), (QVector<quint16>{65535, 12}));
            QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Machine parameters sent to the controller."));
        }));
        if (QTest::currentTestFailed())
            return;

        // Reopening asks the controller again.
        answerSystemSetRequests({writtenStop, 2.5f, 49.0f}, systemSet);
        const int second = slave->requestCount();
        QVERIFY(runModal(action("actionmachine_parameter"), [&](machineParameter *dialog) {
            QCOMPARE(writesSince(second, 5), (QVector<QVector<quint16>>{{5, 1}}));
            QCOMPARE(edit(dialog, "sysStopValueEdit")->text(), typedStop);
        }));
    }

    void openingWithoutAnswer_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::newRow("no link") << false;
        QTest::newRow("controller does not answer") << true;  // register 0 keeps the request code
    }

    void openingWithoutAnswer()
    {
        QFETCH(bool, connected);
        if (connected)
            connectWindow(ForceUnit::Kilogram);
        const int first = slave->requestCount();
        QVERIFY(runModal(action("actionmachine_parameter"), [&](machineParameter *dialog) {
            QCOMPARE(writesSince(first, 5).size(), connected ? 1 : 0);
            for (const char *name : {"sysTotalNumEdit", "sysStopValueEdit", "sysStepDistanceEdit",
                                     "sysPeakLowSetEdit", "sysSpeedEdit"})
                QVERIFY2(edit(dialog, name)->text().isEmpty(), name);
            QCOMPARE(labelText(dialog, "sysStopValueUnitLabel"), QStringLiteral("N"));
            QCOMPARE(labelText(dialog, "sysPeakLowSetUnitLabel"), QStringLiteral("N"));
            QVERIFY(!changeButton(dialog)->isEnabled());
            changeButton(dialog)->click();
        }));
        QVERIFY(writesSince(first, 9).isEmpty());
    }
};

QTEST_MAIN(MachineParameterTest)
#include "tst_machineparameter.moc"
