#include "control/standtest.h"

#include <QDateTime>

#include "device/modbusthread.h"

StandTest::StandTest(QObject *parent)
    : QObject(parent)
    , device(std::make_unique<modbusThread>())
{
    // States and curve ends are queued from the acquisition thread.
    qRegisterMetaType<QVector<float>>();
    qRegisterMetaType<QVector<int>>();
    qRegisterMetaType<AcquisitionQuality>();
    firstStateTimer.setSingleShot(true);
    firstStateTimer.setInterval(FirstStateTimeoutMs);
    silenceTimer.setSingleShot(true);
    silenceTimer.setInterval(SilenceTimeoutMs);
    connect(&firstStateTimer, &QTimer::timeout, this, [this] { fail(QStringLiteral("no answer from the stand")); });
    connect(&silenceTimer, &QTimer::timeout, this, [this] { fail(QStringLiteral("the stand stopped answering")); });
    connect(device.get(), &modbusThread::sendCurrentState, this, &StandTest::receiveState);
    connect(device.get(), &modbusThread::sendCurveData, this,
            [this](int index, double x, double y) { tracker.addPoint(index, x, y); });
    connect(device.get(), &modbusThread::sendLinkHealth, this, &StandTest::receiveLinkHealth);
    connect(device.get(), &modbusThread::sendCurveEnded, this, &StandTest::receiveCurveEnded);
}

StandTest::~StandTest()
{
    disconnectStand();
}

bool StandTest::connectStand(const QString &port, QString &error)
{
    Serial_Setting_Type serial = device->serialSetting();
    serial.portName = port;
    device->receiveSerailSetting(serial);
    if (!device->openDevice()) {
        error = QStringLiteral("cannot open %1").arg(port);
        return false;
    }
    connected = true;
    // As Connect does: the type number and the decimals, read once before polling.
    standState.type = device->readMachineType();
    const int decimals = device->readDecimals();
    if (decimals < 0) {
        disconnectStand();
        error = QStringLiteral("no answer from the stand on %1").arg(port);
        return false;
    }
    standState.decimals = decimals;
    return true;
}

void StandTest::start(const Curve_Setting &testSetting)
{
    setting = testSetting;
    waitingForState = true;
    firstStateTimer.start();
    device->startPolling();
}

void StandTest::receiveState(const QVector<float> &, const QVector<int> &iState)
{
    if (!iState.isEmpty())
        standState.unit = iState[0];
    if (!waitingForState)
        return;
    waitingForState = false;
    firstStateTimer.stop();
    device->startTest(setting);
    tracker.startTest(setting, QDateTime::currentDateTimeUtc());
}

void StandTest::stop()
{
    if (waitingForState) {
        fail(QStringLiteral("stopped before the test began"));
        return;
    }
    tracker.stopPressed();
    device->stopTest();
}

void StandTest::receiveLinkHealth(bool answering)
{
    if (answering)
        silenceTimer.stop();
    else if (tracker.testRunning())
        silenceTimer.start();
}

void StandTest::receiveCurveEnded(const AcquisitionQuality &quality)
{
    silenceTimer.stop();
    const std::optional<TestRun> run = tracker.end(quality);
    if (!run)
        return;
    // One test is all: the loop ends now, while the caller stores the run, rather
    // than after a pause of status polling at disconnect.
    device->stopRunning();
    emit finished(*run);
}

void StandTest::fail(const QString &message)
{
    firstStateTimer.stop();
    silenceTimer.stop();
    waitingForState = false;
    // A test in the midst is stopped, as far as the stand still listens.
    if (tracker.testRunning())
        device->stopTest();
    tracker.end(AcquisitionQuality());
    emit failed(message);
}

void StandTest::disconnectStand()
{
    if (!connected)
        return;
    connected = false;
    device->stopRunning();
    device->wait();
    device->closeDevice();
}
