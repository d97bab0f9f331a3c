// The acquisition thread against the controller double on a pseudo-terminal: a real
// serial peer, so every request below really crossed a line.

#include <QtTest>

#include <limits>

#include "device/modbusthread.h"
#include "sim/controllerdouble.h"
#include "sim/rtuslave.h"

namespace {
constexpr quint8 ReadInputs = 0x04;
constexpr quint8 ReadHolding = 0x03;
constexpr quint8 WriteMultiple = 0x10;

bool isStatusRead(const SlaveRequest &r) { return r.function == ReadInputs && r.address == 0 && r.count == 12; }
bool isCurveRead(const SlaveRequest &r) { return r.function == ReadInputs && r.address == 100 && r.count == 122; }

QVector<quint16> emptyBlock() { return ControllerDouble::curveBlock(1, {}); }

QVector<quint16> withForce(QVector<quint16> block, int slot, float force)
{
    block[2 + 4 * slot] = ControllerDouble::lowWord(force);
    block[3 + 4 * slot] = ControllerDouble::highWord(force);
    return block;
}

QVector<int> counts(const AcquisitionQuality &q) { return {q.curveReads, q.failedReads, q.droppedPoints}; }

// Receives the thread's signals on the test's thread, as the window does.
class Collector : public QObject
{
    Q_OBJECT
public:
    QVector<QVector<float>> forces;
    QVector<QVector<int>> ints;
    QVector<QVector<double>> points;  // index, x, y
    QVector<AcquisitionQuality> ended;

public slots:
    void onState(QVector<float> f, QVector<int> i)
    {
        forces.append(f);
        ints.append(i);
    }
    void onPoint(int index, double x, double y) { points.append({double(index), x, y}); }
    void onEnded(AcquisitionQuality quality) { ended.append(quality); }
};
} // namespace

class ModbusThreadTest : public QObject
{
    Q_OBJECT

private:
    ControllerDouble *controller = nullptr;
    RtuSlave *slave = nullptr;
    modbusThread *link = nullptr;
    Collector *collector = nullptr;

    void openLink()
    {
        link->receiveSerailSetting(Serial_Setting_Type{slave->portPath(), 115200, 8, 1, 'N'});
        QVERIFY(link->openDevice());
    }

    void connectLink()
    {
        openLink();
        link->startPolling();
    }

    void disconnectLink()
    {
        link->stopRunning();
        QVERIFY(link->wait(5000));
        link->closeDevice();
    }

    QVector<SlaveRequest> requestsSince(int first) const { return slave->requests().mid(first); }

    // Curve reads between the last command written and the first status read after it.
    int curveReadsBeforeStatus(int first) const
    {
        int curveReads = 0;
        for (const SlaveRequest &r : requestsSince(first)) {
            if (isStatusRead(r))
                return curveReads;
            if (isCurveRead(r))
                ++curveReads;
        }
        return -1;
    }

    bool statusReadAfter(int first) const
    {
        for (const SlaveRequest &r : requestsSince(first))
            if (isStatusRead(r))
                return true;
        return false;
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QVector<float>>();
        qRegisterMetaType<QVector<int>>();
    }

    void init()
    {
        controller = new ControllerDouble;
        slave = new RtuSlave(controller);
        QVERIFY2(slave->start(), qPrintable(slave->errorString()));
        link = new modbusThread;
        collector = new Collector;
        connect(link, &modbusThread::sendCurrentState, collector, &Collector::onState);
        connect(link, &modbusThread::sendCurveData, collector, &Collector::onPoint);
        connect(link, &modbusThread::sendCurveEnded, collector, &Collector::onEnded);
    }

    void cleanup()
    {
        link->stopRunning();
        link->wait();
        delete link;
        delete collector;
        delete slave;
        delete controller;
    }

    void statusEveryPollInterval()
    {
        controller->setInputFloat(0, 12.5f);
        controller->setInputFloat(2, -3.25f);
        for (quint16 r = 8; r < 12; ++r)
            controller->setInput(r, QVector<quint16>{1, 3, 1, 0xFFFF}[r - 8]);
        connectLink();
        QTRY_VERIFY_WITH_TIMEOUT(collector->forces.size() >= 6, 5000);
        QCOMPARE(collector->forces.first(), (QVector<float>{12.5f, -3.25f}));
        QCOMPARE(collector->ints.first(), (QVector<int>{1, 3, 1, 65535}));

        QVector<qint64> times;
        for (const SlaveRequest &r : slave->requests())
            if (isStatusRead(r))
                times.append(r.receivedMs);
        QVERIFY(times.size() >= 6);
        for (int i = 1; i < times.size(); ++i) {
            const qint64 gap = times[i] - times[i - 1];
            QVERIFY2(gap >= 195 && gap < 400, qPrintable(QString::number(gap)));
        }
    }

    void testEndsAfter200EmptyBlocks()
    {
        connectLink();
        QTRY_VERIFY(slave->requestCount() > 0);
        const int first = slave->requestCount();
        link->startTest(Curve_Setting{1, 0, 120, 10.0f});
        QVERIFY(link->isCurveMode());
        QTRY_VERIFY_WITH_TIMEOUT(statusReadAfter(first), 20000);
        QVERIFY(!link->isCurveMode());
        QCOMPARE(curveReadsBeforeStatus(first), 200);
        QTRY_COMPARE(collector->ended.size(), 1);
        QCOMPARE(counts(collector->ended[0]), (QVector<int>{200, 0, 0}));
    }

    void curveEndReportedOnceForStopAndDisconnect()
    {
        // The last block handed out answers every later read: points never run dry.
        controller->queueCurveBlock(ControllerDouble::curveBlock(1, {{1, 2}}));
        connectLink();
        link->startTest(Curve_Setting{0, 0, 100, 10.0f});
        QTRY_VERIFY(collector->points.size() >= 5);
        link->stopTest();
        QTRY_COMPARE(collector->ended.size(), 1);
        QVERIFY(collector->ended[0].curveReads >= 5);

        link->moveUpRecord();
        const int before = collector->points.size();
        QTRY_VERIFY(collector->points.size() > before);
        disconnectLink();
        QTRY_COMPARE(collector->ended.size(), 2);
        QTest::qWait(300);
        QCOMPARE(collector->ended.size(), 2);
    }

    void qualityCountsBadRepliesOfThisAcquisitionOnly()
    {
        const QVector<quint16> two = ControllerDouble::curveBlock(2, {{1, 10}, {2, 20}});
        const float nan = std::numeric_limits<float>::quiet_NaN();
        controller->queueCurveBlock(two);
        controller->queueCurveBlock(withForce(two, 1, std::numeric_limits<float>::infinity()));
        controller->queueCurveBlock(withForce(withForce(two, 0, nan), 1, -nan));
        controller->queueCurveBlock(emptyBlock());
        connectLink();
        QTRY_VERIFY(slave->requestCount() > 0);
        link->moveDownRecord();
        QTRY_COMPARE_WITH_TIMEOUT(collector->ended.size(), 1, 10000);
        // Not a number is never forwarded; a block with nothing else counts as a
        // failed read, which neither ends the jog nor keeps it going.
        QCOMPARE(collector->points.size(), 3);
        QCOMPARE(collector->points[2], (QVector<double>{1, 1, 10}));
        QCOMPARE(counts(collector->ended[0]), (QVector<int>{3 + 20, 1, 3}));

        // Replies that time out count too, and only in the acquisition they fell in.
        QTRY_VERIFY(!collector->forces.isEmpty());
        slave->setFault(RtuSlave::Fault::Silent, 2);
        link->moveDownRecord();
        QTRY_COMPARE_WITH_TIMEOUT(collector->ended.size(), 2, 10000);
        const AcquisitionQuality second = collector->ended[1];
        // The first silent request may be the command's own.
        QVERIFY2(second.failedReads == 1 || second.failedReads == 2, qPrintable(QString::number(second.failedReads)));
        QCOMPARE(second.curveReads, 20 + second.failedReads);
        QCOMPARE(second.droppedPoints, 0);
    }

    void recordingJogEndsAfter20EmptyBlocks_data()
    {
        QTest::addColumn<bool>("up");
        QTest::newRow("up") << true;
        QTest::newRow("down") << false;
    }

    void recordingJogEndsAfter20EmptyBlocks()
    {
        QFETCH(bool, up);
        connectLink();
        QTRY_VERIFY(slave->requestCount() > 0);
        const int first = slave->requestCount();
        up ? link->moveUpRecord() : link->moveDownRecord();
        QTRY_VERIFY_WITH_TIMEOUT(statusReadAfter(first), 10000);
        QCOMPARE(curveReadsBeforeStatus(first), 20);
    }

    void goodBlockResetsTheCount()
    {
        for (int i = 0; i < 10; ++i)
            controller->queueCurveBlock(emptyBlock());
        QVector<QPointF> points;
        for (int i = 0; i < 5; ++i)
            points.append(QPointF(1.5 * i, 10.0 + i));
        controller->queueCurveBlock(ControllerDouble::curveBlock(2, points));
        controller->queueCurveBlock(emptyBlock());

        connectLink();
        QTRY_VERIFY(slave->requestCount() > 0);
        const int first = slave->requestCount();
        link->moveDownRecord();
        QTRY_VERIFY_WITH_TIMEOUT(statusReadAfter(first), 10000);
        QCOMPARE(curveReadsBeforeStatus(first), 10 + 1 + 20);
        QTRY_COMPARE(collector->points.size(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(collector->points[i], (QVector<double>{1, 1.5 * i, 10.0 + i}));
    }

    void shortCurveReadDoesNotCount()
    {
        connectLink();
        QTRY_VERIFY(slave->requestCount() > 0);
        const int first = slave->requestCount();
        slave->setFault(RtuSlave::Fault::Truncated, 3);
        link->moveUpRecord();
        QTRY_VERIFY_WITH_TIMEOUT(statusReadAfter(first), 15000);
        // The first reply after the fault was set may be the command's own.
        const int curveReads = curveReadsBeforeStatus(first);
        QVERIFY2(curveReads == 22 || curveReads == 23, qPrintable(QString::number(curveReads)));
        QVERIFY(collector->points.isEmpty());
    }

    void commandImages()
    {
        connectLink();
        struct Case { std::function<void()> send; QVector<quint16> words; };
        const QVector<Case> cases{
            {[&] { link->startTest(Curve_Setting{1, 1, 250, 10.0f}); }, {3, 5, 1, 1, 250, 0x0000, 0x4120}},
            {[&] { link->stopTest(); }, {4, 0}},
            {[&] { link->changeSystemSet({1.0f, 2.0f, 3.0f}, {4, 5}); },
             {9, 0x0000, 0x3F80, 0x0000, 0x4000, 0x0000, 0x4040, 4, 5}},
            {[&] { link->zero(); }, {10}},
            {[&] { link->distanceZero(); }, {11}},
            {[&] { link->switchAuto(); }, {12}},
            {[&] { link->switchTestMode(); }, {13}},
            {[&] { link->moveUp(); }, {14}},
            {[&] { link->moveDown(); }, {15}},
            {[&] { link->moveUpRecord(); }, {16}},
            {[&] { link->moveDownRecord(); }, {17}},
            {[&] { link->switchUnit(); }, {18}},
        };
        for (const Case &c : cases) {
            const int first = slave->requestCount();
            c.send();
            const QVector<SlaveRequest> sent = requestsSince(first);
            QVector<SlaveRequest> writes;
            std::copy_if(sent.begin(), sent.end(), std::back_inserter(writes),
                         [](const SlaveRequest &r) { return r.function == WriteMultiple; });
            QCOMPARE(writes.size(), 1);
            QCOMPARE(writes[0].address, quint16(0));
            QCOMPARE(writes[0].words, c.words);
        }
    }

    void shortSystemSetWritesNothing()
    {
        connectLink();
        const int first = slave->requestCount();
        link->changeSystemSet({1.0f, 2.0f}, {4, 5});
        link->changeSystemSet({1.0f, 2.0f, 3.0f}, {});
        for (const SlaveRequest &r : requestsSince(first))
            QVERIFY(r.function != WriteMultiple);
    }

    void systemSetIsNeverInterleavedWithAPoll()
    {
        QVector<quint16> answer(9, 0);
        answer[0] = 6;
        const float values[3] = {98.0f, 2.5f, 10.0f};
        for (int i = 0; i < 3; ++i) {
            answer[1 + 2 * i] = ControllerDouble::lowWord(values[i]);
            answer[2 + 2 * i] = ControllerDouble::highWord(values[i]);
        }
        answer[7] = 65535;
        answer[8] = 7;
        controller->setHoldingWriteHook([&](quint16 address, const QVector<quint16> &words) {
            if (address == 0 && words.value(0) == 5)
                controller->scheduleHoldingWrite(0, answer, 50);
        });
        connectLink();
        QTRY_VERIFY(slave->requestCount() > 0);

        QSignalSpy answers(link, &modbusThread::sendSystemSetting);
        for (int round = 0; round < 3; ++round) {
            const int first = slave->requestCount();
            link->getSystemSet(1);
            QCOMPARE(answers.count(), round + 1);  // emitted before the call returned
            const QVector<SlaveRequest> sent = requestsSince(first);
            int write = -1;
            for (int i = 0; i < sent.size(); ++i)
                if (sent[i].function == WriteMultiple)
                    write = i;
            QVERIFY(write >= 0 && write + 1 < sent.size());
            QCOMPARE(sent[write].words, (QVector<quint16>{5, 1}));
            QCOMPARE(sent[write + 1].function, ReadHolding);
            QCOMPARE(sent[write + 1].count, quint16(60));
            QVERIFY(sent[write + 1].receivedMs - sent[write].receivedMs >= 195);
            controller->setHolding(0, 0);
        }
        const QList<QVariant> args = answers.first();
        QCOMPARE(args[0].value<QVector<float>>(), (QVector<float>{98.0f, 2.5f, 10.0f}));
        QCOMPARE(args[1].value<QVector<int>>(), (QVector<int>{65535, 7}));
    }

    void systemSetAnswerDropped_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::addColumn<bool>("silentRead");
        QTest::newRow("reply code not written") << false << false;
        QTest::newRow("answer read lost") << true << true;
    }

    void systemSetAnswerDropped()
    {
        QFETCH(bool, answers);
        QFETCH(bool, silentRead);
        controller->setHoldingWriteHook([&](quint16, const QVector<quint16> &words) {
            if (words.value(0) != 5)
                return;
            if (answers)
                controller->setHoldingWords(0, {6, 0, 0x4120, 0, 0, 0, 0, 1, 1});
            if (silentRead)
                slave->setFault(RtuSlave::Fault::Silent, 1);
        });
        openLink();
        QSignalSpy answersSeen(link, &modbusThread::sendSystemSetting);
        link->getSystemSet(1);
        QCOMPARE(answersSeen.count(), 0);

        // The line recovers for the next request.
        slave->clearFault();
        controller->setHoldingWriteHook([&](quint16, const QVector<quint16> &words) {
            if (words.value(0) == 5)
                controller->setHoldingWords(0, {6, 0, 0x4120, 0, 0, 0, 0, 1, 1});
        });
        link->getSystemSet(1);
        QCOMPARE(answersSeen.count(), 1);
    }

    void lateReplyIsNotTakenForTheNextAnswer()
    {
        controller->setInputFloat(0, 42.0f);
        controller->setHoldingWriteHook([&](quint16, const QVector<quint16> &words) {
            if (words.value(0) == 5)
                controller->setHoldingWords(0, {6, 0, 0x4120, 0, 0, 0, 0, 1, 1});
        });
        connectLink();
        QTRY_VERIFY(!collector->forces.isEmpty());
        // One status reply comes after the master gave up on it; it must not answer
        // any later request.
        slave->setFault(RtuSlave::Fault::Late, 1, 600);
        const int before = collector->forces.size();
        QTRY_VERIFY_WITH_TIMEOUT(collector->forces.size() >= before + 3, 5000);

        QSignalSpy answers(link, &modbusThread::sendSystemSetting);
        link->getSystemSet(1);
        QCOMPARE(answers.count(), 1);
        QCOMPARE(answers.first()[0].value<QVector<float>>().value(1), 0.0f);
        QCOMPARE(answers.first()[0].value<QVector<float>>().value(0), 10.0f);
        const int after = collector->forces.size();
        QTRY_VERIFY_WITH_TIMEOUT(collector->forces.size() >= after + 2, 5000);
        for (const QVector<float> &f : collector->forces)
            QCOMPARE(f.value(0), 42.0f);
    }

    void stopDuringTheSleepEndsWithinAPass()
    {
        connectLink();
        QTRY_VERIFY(!collector->forces.isEmpty());
        QElapsedTimer timer;
        timer.start();
        link->stopRunning();
        QVERIFY(link->wait(5000));
        QVERIFY2(timer.elapsed() < 450, qPrintable(QString::number(timer.elapsed())));
        link->closeDevice();
    }

    void connectAgainAfterDisconnect()
    {
        connectLink();
        QTRY_VERIFY(!collector->forces.isEmpty());
        disconnectLink();
        collector->forces.clear();
        connectLink();
        QTRY_VERIFY_WITH_TIMEOUT(collector->forces.size() >= 2, 3000);
        disconnectLink();
    }

    void closedInstance()
    {
        // run() on a closed link ends at once and emits nothing.
        link->startPolling();
        QVERIFY(link->wait(1000));
        QCoreApplication::processEvents();
        QVERIFY(collector->forces.isEmpty());
        QCOMPARE(link->readMachineType(), uint16_t(0));
        QCOMPARE(link->readDecimals(), -1);

        // Commands on a closed link write nothing, but the curve flag still follows them
        // until a successful open clears it.
        link->startTest(Curve_Setting{0, 0, 100, 10.0f});
        QVERIFY(link->isCurveMode());
        QCOMPARE(slave->requestCount(), 0);
        link->receiveSerailSetting(Serial_Setting_Type{"/dev/nonexistent-port", 115200, 8, 1, 'N'});
        QVERIFY(!link->openDevice());
        QVERIFY(link->isCurveMode());
        link->receiveSerailSetting(Serial_Setting_Type{slave->portPath(), 115200, 8, 1, 'N'});
        QVERIFY(link->openDevice());
        QVERIFY(!link->isCurveMode());
    }

    void connectTimeReads()
    {
        controller->setInput(4, 500);
        controller->setInput(5, 2);
        openLink();
        QCOMPARE(link->readMachineType(), uint16_t(500));
        QCOMPARE(link->readDecimals(), 2);
        slave->setFault(RtuSlave::Fault::Silent, 2);
        QCOMPARE(link->readMachineType(), uint16_t(0));
        QCOMPARE(link->readDecimals(), -1);
    }
};

QTEST_GUILESS_MAIN(ModbusThreadTest)
#include "tst_modbusthread.moc"
