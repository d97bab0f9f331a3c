#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "control/testtracker.h"
#include "device/curvesetting.h"

class modbusThread;

// One test on a stand without a window, for quelmar-cli: connects as the window's
// Connect does, starts the test with the given settings and follows it until the
// acquisition thread reports the end of curve acquisition, keeping its points in a
// TestTracker as the window does. Plain logic around the acquisition thread; the
// caller runs the event loop.
class StandTest : public QObject
{
    Q_OBJECT

public:
    // How long the stand may take to send its first state, and how long it may stay
    // silent in the middle of a test before the test is given up.
    static constexpr int FirstStateTimeoutMs = 3000;
    static constexpr int SilenceTimeoutMs = 5000;

    struct Stand
    {
        int type = 0;      // type number (rated force in N)
        int decimals = 0;  // force decimals
        int unit = 0;      // 0 N, 1 kg, 2 lb, as the stand shows it
    };

    explicit StandTest(QObject *parent = nullptr);
    // Disconnects: ends the acquisition loop and closes the port.
    ~StandTest() override;

    // Opens `port` and reads the type number and decimals. False with `error` set when
    // the port does not open or the stand does not answer.
    bool connectStand(const QString &port, QString &error);

    // Starts polling; once the first state has come (with the unit the stand shows),
    // starts the test. One of finished() or failed() follows; after finished() the
    // acquisition loop ends, as the stand has nothing more to say.
    void start(const Curve_Setting &setting);
    // Sends Stop to the stand; finished() follows with the run marked as stopped.
    void stop();
    void disconnectStand();

    Stand stand() const { return standState; }
    bool isRunning() const { return tracker.testRunning(); }

signals:
    void finished(const TestRun &run);
    void failed(const QString &message);

private:
    void receiveState(const QVector<float> &fState, const QVector<int> &iState);
    void receiveLinkHealth(bool answering);
    void receiveCurveEnded(const AcquisitionQuality &quality);
    void fail(const QString &message);

    std::unique_ptr<modbusThread> device;
    TestTracker tracker;
    Curve_Setting setting{0, 0, 0, 0.0f};
    Stand standState;
    bool waitingForState = false;
    bool connected = false;
    QTimer firstStateTimer;
    QTimer silenceTimer;
};
