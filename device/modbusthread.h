#pragma once

#include <QElapsedTimer>
#include <QMutex>
#include <QThread>
#include <QVector>
#include <atomic>
#include <cstdint>

#include "device/acquisitionquality.h"
#include "device/curvesetting.h"
#include "device/linkhealth.h"
#include "device/registers.h"
#include "device/serialsetting.h"

typedef struct _modbus modbus_t;

// Owns the serial link to the stand controller. The object lives in the GUI thread;
// only run() executes in the acquisition thread. One lock serialises every exchange
// on the line, so operator commands interleave with polls but never overlap them.
class modbusThread : public QThread
{
    Q_OBJECT

public:
    explicit modbusThread(QObject *parent = nullptr);
    ~modbusThread() override;

    // Called only while the acquisition thread is stopped.
    bool openDevice();
    bool closeDevice();
    Serial_Setting_Type serialSetting() const;

    // Raises the loop flag before the thread starts, so that a stopRunning() that
    // comes before run() has begun still ends the loop after its first pass.
    void startPolling(Priority priority = InheritPriority);
    void stopRunning();

    uint16_t readMachineType();  // 0 when nothing was read
    int readDecimals();          // -1 when nothing was read

    void startTest(Curve_Setting setting);
    void stopTest();
    void moveUp();
    void moveDown();
    void moveUpRecord();
    void moveDownRecord();
    void zero();
    void distanceZero();
    void switchAuto();
    void switchTestMode();
    void switchUnit();

    bool isCurveMode() const { return curveMode; }

signals:
    void sendCurveData(int index, double x, double y);
    // The last point of each curve block with points: the live value while no status is read.
    void sendCurrentPointValue(float distance, float force);
    void sendCurrentState(QVector<float> fState, QVector<int> iState);
    void sendSystemSetting(QVector<float> pointSet, QVector<int> systemSet);
    void sendSystemData(QVector<float> pointData, QVector<int> systemData);
    // From the loop: once when it starts (answering), then at every change of verdict.
    void sendLinkHealth(bool answering);
    // From the loop, once when curve acquisition ends: by the empty-block limit, by
    // stopTest, or by stopRunning in its midst. Counted from the start of the test or
    // recording jog.
    void sendCurveEnded(AcquisitionQuality quality);

public slots:
    void receiveSerailSetting(Serial_Setting_Type setting);
    void getSystemSet(int index);
    void getSystemData(int index, int scanIndex);
    void changeSystemSet(QVector<float> pointSet, QVector<int> systemSet);

protected:
    void run() override;

private:
    // The helpers below expect the caller to hold the lock and ctx to be set.
    void prepareLine();
    bool readInputs(int address, int count, uint16_t *dest);
    int readHolding(int address, int count, uint16_t *dest);
    void write(const Registers::Words &words);

    void sendCommand(const Registers::Words &words);
    bool requestAnswer(const Registers::Words &request, int answerCount, uint16_t *answer);
    void pollState();
    void pollCurve();
    bool followCurveAcquisition();  // true when this pass reads the curve
    void endCurveAcquisition();
    void reportLinkHealth(bool changed);
    void yieldToCommands();  // acquisition thread, before it takes the lock

    // The lock as the GUI thread's operations take it: ahead of the loop's next read.
    class CommandLock
    {
    public:
        explicit CommandLock(modbusThread &thread);
        ~CommandLock();
        CommandLock(const CommandLock &) = delete;
        CommandLock &operator=(const CommandLock &) = delete;

    private:
        modbusThread &thread;
    };
    void releaseContext();

    modbus_t *ctx = nullptr;
    Serial_Setting_Type setting;
    QMutex mutex;
    std::atomic<bool> running{false};
    std::atomic<bool> curveMode{false};
    std::atomic<int> failLimit{20};
    std::atomic<unsigned> curveStarts{0};  // raised by every test and recording jog
    std::atomic<int> commandsWaiting{0};   // GUI-thread operations waiting for the lock
    int failCount = 0;       // acquisition thread only
    LinkHealth linkHealth;   // acquisition thread only
    QElapsedTimer linkClock; // acquisition thread only
    bool lineDirty = false;  // guarded by mutex: the last exchange failed
    // Acquisition thread only: the curve acquisition the loop is following.
    bool acquiringCurve = false;
    unsigned followedStart = 0;
    AcquisitionQuality quality;
};
