// The serial settings dialog: the texts shown for a port, the setting Apply builds
// from the chosen texts, the dialog as the operator uses it, and the window's rule
// that settings change only while the port is closed.

#include "app/mainwindow.h"
#include "app/resources.h"
#include "device/serialchoice.h"
#include "device/serialsettingdialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>
#include <QtTest>
#include <functional>
#include "widgetlookup.h"

// Only the test needs the setting as a meta-type, for QSignalSpy.
Q_DECLARE_METATYPE(Serial_Setting_Type)

namespace {
const QString Com3Path = QStringLiteral("\\\\.\\COM3");
const QString Com4Path = QStringLiteral("\\\\.\\COM4");

QVector<SerialPortEntry> twoPorts()
{
    return {
        {"COM3", {"COM3", "USB Serial Port", "FTDI", "A600ABCD", "COM3", "403", "6001"}, Com3Path},
        {"COM4", {"COM4", "", "", "", "COM4", "", ""}, Com4Path},
    };
}

QString labelText(QObject *dialog, const char *name)
{
    return child<QLabel>(dialog, name)->text();
}

// Runs `act` on the modal widget as soon as one is open; modal boxes block the caller.
void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        if (QWidget *modal = QApplication::activeModalWidget())
            act(modal);
        else
            whenModal(act);
    });
}

Serial_Setting_Type sentSetting(const QSignalSpy &spy)
{
    return spy.first().first().value<Serial_Setting_Type>();
}

} // namespace

class tst_SerialSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void identifierText_data();
    void identifierText();
    void parityFromIndex_data();
    void parityFromIndex();
    void settingFromChosenTexts();

    void opensOnFirstPortAndDefaults();
    void selectedPortShowsItsDetails_data();
    void selectedPortShowsItsDetails();
    void noPortKeepsPlainCaptions();
    void applySendsTheChoice_data();
    void applySendsTheChoice();
    void reopeningShowsDefaultsAgain();
    void closingWithoutApplySendsNothing();
    void defaultsHoldInChinese();

    void settingWhileConnectedWarns();
    void appliedSettingReachesTheThread();
};

void tst_SerialSettings::initTestCase()
{
    qRegisterMetaType<Serial_Setting_Type>("Serial_Setting_Type");
    quelmarInitResources();
}

void tst_SerialSettings::identifierText_data()
{
    QTest::addColumn<int>("identifier");
    QTest::addColumn<QString>("text");
    QTest::newRow("vendor") << 0x0403 << "403";
    QTest::newRow("product") << 0x6001 << "6001";
    QTest::newRow("none reported") << 0 << "";
    QTest::newRow("lower case") << 0x1A86 << "1a86";
    QTest::newRow("largest") << 0xFFFF << "ffff";
}

void tst_SerialSettings::identifierText()
{
    QFETCH(int, identifier);
    QFETCH(QString, text);
    QCOMPARE(::identifierText(quint16(identifier)), text);
}

void tst_SerialSettings::parityFromIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<char>("parity");
    QTest::newRow("none") << 0 << 'N';
    QTest::newRow("even") << 1 << 'E';
    QTest::newRow("odd") << 2 << 'O';
    QTest::newRow("no item") << -1 << 'N';
}

void tst_SerialSettings::parityFromIndex()
{
    QFETCH(int, index);
    QFETCH(char, parity);
    QCOMPARE(::parityFromIndex(index), parity);
}

void tst_SerialSettings::settingFromChosenTexts()
{
    const Serial_Setting_Type s = serialSettingFrom(Com4Path, "9600", "7", 'E', "2");
    QCOMPARE(s.portName, Com4Path);
    QCOMPARE(s.baudRate, 9600);
    QCOMPARE(s.dataBits, 7);
    QCOMPARE(s.stopBits, 2);
    QCOMPARE(s.parity, 'E');
}

void tst_SerialSettings::opensOnFirstPortAndDefaults()
{
    SerialSettingDialog dialog(twoPorts());
    auto *portBox = child<QComboBox>(&dialog, "serialPortInfoListBox");
    QCOMPARE(portBox->count(), 2);
    QCOMPARE(portBox->itemText(0), QString("COM3"));
    QCOMPARE(portBox->itemText(1), QString("COM4"));
    QCOMPARE(portBox->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(&dialog, "baudRateBox")->currentText(), QString("115200"));
    QCOMPARE(child<QComboBox>(&dialog, "dataBitsBox")->currentText(), QString("8"));
    QCOMPARE(child<QComboBox>(&dialog, "parityBox")->currentText(), QString("none"));
    QCOMPARE(child<QComboBox>(&dialog, "stopBitsBox")->currentText(), QString("1"));
    QCOMPARE(dialog.windowTitle(), QString("Settings"));
}

void tst_SerialSettings::selectedPortShowsItsDetails_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("COM3, all details")
        << 0
        << QStringList{"Description: USB Serial Port", "Manufacturer: FTDI", "Serial number: A600ABCD",
                       "Location: COM3", "Vendor Identifier: 403", "Product Identifier: 6001"};
    QTest::newRow("COM4, nothing reported")
        << 1
        << QStringList{"Description: ", "Manufacturer: ", "Serial number: ", "Location: COM4",
                       "Vendor Identifier: ", "Product Identifier: "};
}

void tst_SerialSettings::selectedPortShowsItsDetails()
{
    QFETCH(int, index);
    QFETCH(QStringList, labels);
    SerialSettingDialog dialog(twoPorts());
    // Pass through the other port, so the labels are known to follow the selection.
    child<QComboBox>(&dialog, "serialPortInfoListBox")->setCurrentIndex(1 - index);
    child<QComboBox>(&dialog, "serialPortInfoListBox")->setCurrentIndex(index);
    const QStringList shown{labelText(&dialog, "descriptionLabel"), labelText(&dialog, "manufacturerLabel"),
                            labelText(&dialog, "serialNumberLabel"), labelText(&dialog, "locationLabel"),
                            labelText(&dialog, "vidLabel"),          labelText(&dialog, "pidLabel")};
    QCOMPARE(shown, labels);
}

void tst_SerialSettings::noPortKeepsPlainCaptions()
{
    SerialSettingDialog dialog(QVector<SerialPortEntry>{});
    QCOMPARE(labelText(&dialog, "descriptionLabel"), QString("Description:"));
    QCOMPARE(labelText(&dialog, "pidLabel"), QString("Product ID:"));

    QSignalSpy spy(&dialog, SIGNAL(sendSerialSetting(Serial_Setting_Type)));
    QTest::mouseClick(child<QPushButton>(&dialog, "applyButton"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(sentSetting(spy).portName, QString());
}

void tst_SerialSettings::applySendsTheChoice_data()
{
    QTest::addColumn<int>("portIndex");
    QTest::addColumn<QString>("typedPort"); // typed over the selection when not empty
    QTest::addColumn<QString>("baudRate");
    QTest::addColumn<QString>("dataBits");
    QTest::addColumn<QString>("parity");
    QTest::addColumn<QString>("stopBits");
    QTest::addColumn<QString>("portName");
    QTest::addColumn<int>("expectedBaud");
    QTest::addColumn<int>("expectedDataBits");
    QTest::addColumn<int>("expectedStopBits");
    QTest::addColumn<char>("expectedParity");

    QTest::newRow("defaults") << 0 << "" << "115200" << "8" << "none" << "1"
                              << Com3Path << 115200 << 8 << 1 << 'N';
    QTest::newRow("COM4 9600 7E2") << 1 << "" << "9600" << "7" << "even" << "2"
                                   << Com4Path << 9600 << 7 << 2 << 'E';
    QTest::newRow("odd parity, 5 bits") << 0 << "" << "1200" << "5" << "odd" << "1"
                                        << Com3Path << 1200 << 5 << 1 << 'O';
    QTest::newRow("typed unlisted path")
        << 0 << "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0" << "19200" << "8" << "none" << "1"
        << "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0" << 19200 << 8 << 1 << 'N';
    QTest::newRow("typed listed name") << 0 << "COM4" << "115200" << "8" << "none" << "1"
                                       << Com4Path << 115200 << 8 << 1 << 'N';
}

void tst_SerialSettings::applySendsTheChoice()
{
    QFETCH(int, portIndex);
    QFETCH(QString, typedPort);
    QFETCH(QString, baudRate);
    QFETCH(QString, dataBits);
    QFETCH(QString, parity);
    QFETCH(QString, stopBits);

    SerialSettingDialog dialog(twoPorts());
    dialog.show();
    auto *portBox = child<QComboBox>(&dialog, "serialPortInfoListBox");
    portBox->setCurrentIndex(portIndex);
    if (!typedPort.isEmpty()) {
        portBox->lineEdit()->clear();
        QTest::keyClicks(portBox->lineEdit(), typedPort);
    }
    child<QComboBox>(&dialog, "baudRateBox")->setCurrentText(baudRate);
    child<QComboBox>(&dialog, "dataBitsBox")->setCurrentText(dataBits);
    child<QComboBox>(&dialog, "parityBox")->setCurrentText(parity);
    child<QComboBox>(&dialog, "stopBitsBox")->setCurrentText(stopBits);

    QSignalSpy spy(&dialog, SIGNAL(sendSerialSetting(Serial_Setting_Type)));
    QTest::mouseClick(child<QPushButton>(&dialog, "applyButton"), Qt::LeftButton);

    QCOMPARE(spy.count(), 1);
    const Serial_Setting_Type s = sentSetting(spy);
    QTEST(s.portName, "portName");
    QTEST(s.baudRate, "expectedBaud");
    QTEST(s.dataBits, "expectedDataBits");
    QTEST(s.stopBits, "expectedStopBits");
    QTEST(s.parity, "expectedParity");
    QVERIFY(!dialog.isVisible());
}

void tst_SerialSettings::reopeningShowsDefaultsAgain()
{
    {
        SerialSettingDialog first(twoPorts());
        child<QComboBox>(&first, "baudRateBox")->setCurrentText("9600");
        QTest::mouseClick(child<QPushButton>(&first, "applyButton"), Qt::LeftButton);
    }
    SerialSettingDialog second(twoPorts());
    QCOMPARE(child<QComboBox>(&second, "baudRateBox")->currentText(), QString("115200"));
}

void tst_SerialSettings::closingWithoutApplySendsNothing()
{
    SerialSettingDialog dialog(twoPorts());
    dialog.show();
    QSignalSpy spy(&dialog, SIGNAL(sendSerialSetting(Serial_Setting_Type)));
    dialog.close();
    QCOMPARE(spy.count(), 0);
}

// The defaults are selected by translated texts, which the catalogue must give back.
void tst_SerialSettings::defaultsHoldInChinese()
{
    QTranslator chinese;
    QVERIFY(chinese.load(":/language/cn.qm"));
    QCoreApplication::installTranslator(&chinese);
    SerialSettingDialog dialog(twoPorts());
    QCoreApplication::removeTranslator(&chinese);

    QCOMPARE(child<QComboBox>(&dialog, "baudRateBox")->currentText(), QString("115200"));
    QCOMPARE(child<QComboBox>(&dialog, "dataBitsBox")->currentText(), QString("8"));
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("设置"));
    QCOMPARE(labelText(&dialog, "vidLabel"), QString::fromUtf8("供应商标识: 403"));
}

void tst_SerialSettings::settingWhileConnectedWarns()
{
    MainWindow window;
    child<QAction>(&window, "actionConnect")->setEnabled(false); // the window counts as connected

    QString title, text;
    bool dialogOpened = false;
    whenModal([&](QWidget *modal) {
        dialogOpened = qobject_cast<SerialSettingDialog *>(modal) != nullptr;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            title = box->windowTitle();
            text = box->text();
        }
        modal->close();
    });
    child<QAction>(&window, "actionSetting")->trigger();

    QVERIFY(!dialogOpened);
    QCOMPARE(title, QString("Warning"));
    QCOMPARE(text, QString("Please close the serial port!"));
}

// The window hands the dialog's setting to the acquisition thread; the thread's port
// name shows in the status bar when the link is closed.
void tst_SerialSettings::appliedSettingReachesTheThread()
{
    MainWindow window;
    const QString path = QStringLiteral("/dev/quelmar-test-port");
    whenModal([&](QWidget *modal) {
        if (auto *dialog = qobject_cast<SerialSettingDialog *>(modal)) {
            QLineEdit *portEdit = child<QComboBox>(dialog, "serialPortInfoListBox")->lineEdit();
            portEdit->clear();
            QTest::keyClicks(portEdit, path);
            child<QPushButton>(dialog, "applyButton")->click();
        } else {
            modal->close();
        }
    });
    child<QAction>(&window, "actionSetting")->trigger();

    auto *disconnect = child<QAction>(&window, "actionDisconnect");
    disconnect->setEnabled(true);
    disconnect->trigger();
    QCOMPARE(window.statusBar()->currentMessage(), path + " close");
}

QTEST_MAIN(tst_SerialSettings)
#include "tst_serialsettings.moc"
