// The controller double seen from a real libmodbus RTU master, as the program
// sees it: framing, exceptions, scripted curve blocks, fault injection and
// the pty's behaviour across reconnects and hang-ups.

#include "sim/controllerdouble.h"
#include "sim/rtuslave.h"
#include "testmaster.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <modbus/modbus.h>

#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <memory>

namespace {

QVector<quint16> rampBlock(quint16 direction, int points)
{
    QVector<QPointF> curve;
    for (int i = 0; i < points; ++i)
        curve.append(QPointF(0.5 * i, 10.0 + i));
    return ControllerDouble::curveBlock(direction, curve);
}

} // namespace

Q_DECLARE_METATYPE(RtuSlave::Fault)

class RtuSlaveTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void holdingWriteIsLoggedAndLands();
    void answerBecomesReadableAfterItsDelay();
    void inputReadsServeQueuedCurveBlocksInOrder();
    void addressesOutsideTheImageAreRefused_data();
    void addressesOutsideTheImageAreRefused();
    void faultSpoilsOneReply_data();
    void faultSpoilsOneReply();
    void faultCountsAndSwitchingOff();
    void lateReplyTimesOutAndCanBeFlushed();
    void replyDelayAndLinePacing();
    void foreignAndBrokenFramesAreDropped();
    void unknownFunctionGetsIllegalFunction();
    void clientCanCloseAndReconnect();
    void hangUpFailsTheClientAndRemovesThePort();
    void stopIsPromptWhileAReplyWaits();

private:
    std::unique_ptr<ControllerDouble> m_bank;
    std::unique_ptr<RtuSlave> m_slave;
};

void RtuSlaveTest::init()
{
    m_bank.reset(new ControllerDouble);
    m_slave.reset(new RtuSlave(m_bank.get()));
    QVERIFY2(m_slave->start(), qPrintable(m_slave->errorString()));
    QVERIFY(m_slave->portPath().startsWith(QLatin1String("/dev/pts/")));
}

void RtuSlaveTest::cleanup()
{
    m_slave.reset();
    m_bank.reset();
}

void RtuSlaveTest::holdingWriteIsLoggedAndLands()
{
    // The machine-parameter command: 9, three floats low half first, two ints.
    const QVector<quint16> words{9, 0x0000, 0x3F80, 0x0000, 0x4000, 0x0000, 0x4040, 4, 5};
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    QCOMPARE(master.writeRegisters(0, words).rc, 9);

    const QVector<SlaveRequest> log = m_slave->requests();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].function, quint8(0x10));
    QCOMPARE(log[0].address, quint16(0));
    QCOMPARE(log[0].count, quint16(9));
    QCOMPARE(log[0].words, words);
    QVERIFY(log[0].repliedMs >= log[0].receivedMs);

    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(m_bank->holding(quint16(i)), words[i]);
    QCOMPARE(m_bank->holdingFloat(1), 1.0f);
    QCOMPARE(m_bank->holdingFloat(3), 2.0f);
    QCOMPARE(m_bank->holdingFloat(5), 3.0f);

    // Read back through the wire as the program reads an answer: 60 from 0.
    const TestMaster::Result back = master.readHoldingRegisters(0, 60);
    QCOMPARE(back.rc, 60);
    QCOMPARE(back.words.mid(0, 9), words);
    QCOMPARE(back.words.mid(9), QVector<quint16>(51, 0));
}

void RtuSlaveTest::answerBecomesReadableAfterItsDelay()
{
    // A controller that answers request 5 with reply 6 some time later.
    ControllerDouble *bank = m_bank.get();
    m_bank->setHoldingWriteHook([bank](quint16 address, const QVector<quint16> &words) {
        if (address == 0 && !words.isEmpty() && words[0] == 5)
            bank->scheduleHoldingWrite(0, {6, ControllerDouble::lowWord(2.5f), ControllerDouble::highWord(2.5f)}, 150);
    });
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    QElapsedTimer sinceRequest;
    sinceRequest.start();
    QCOMPARE(master.writeRegisters(0, {5, 1}).rc, 2);
    const TestMaster::Result early = master.readHoldingRegisters(0, 3);
    QCOMPARE(early.rc, 3);
    if (sinceRequest.elapsed() < 140) // the machine may have stalled past the deadline
        QCOMPARE(early.words, QVector<quint16>({5, 1, 0}));

    QTRY_COMPARE_WITH_TIMEOUT(master.readHoldingRegisters(0, 1).words.value(0), quint16(6), 2000);
    QVERIFY(sinceRequest.elapsed() >= 150);
    QCOMPARE(m_bank->holdingFloat(1), 2.5f);
}

void RtuSlaveTest::inputReadsServeQueuedCurveBlocksInOrder()
{
    m_bank->setInputFloat(0, 10.0f);
    m_bank->setInput(11, 0xFFFF);
    const QVector<quint16> forward = rampBlock(1, 30);
    const QVector<quint16> back = rampBlock(2, 1);
    m_bank->queueCurveBlock(forward);
    m_bank->queueCurveBlock(back);
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    // A status read does not touch the queue; 10.0 travels as 0x0000, 0x4120.
    const TestMaster::Result status = master.readInputRegisters(0, 12);
    QCOMPARE(status.rc, 12);
    QCOMPARE(status.words[0], quint16(0x0000));
    QCOMPARE(status.words[1], quint16(0x4120));
    QCOMPARE(status.words[11], quint16(0xFFFF));
    QCOMPARE(m_bank->queuedCurveBlocks(), 2);

    const TestMaster::Result first = master.readInputRegisters(100, 122);
    QCOMPARE(first.rc, 122);
    QCOMPARE(first.words, forward);
    QCOMPARE(first.words[1], quint16(30));

    const TestMaster::Result second = master.readInputRegisters(100, 122);
    QCOMPARE(second.rc, 122);
    QCOMPARE(second.words, back);

    // Queue empty: the registers answer with what they hold.
    const TestMaster::Result third = master.readInputRegisters(100, 122);
    QCOMPARE(third.rc, 122);
    QCOMPARE(third.words, back);
    QCOMPARE(m_bank->queuedCurveBlocks(), 0);
}

void RtuSlaveTest::addressesOutsideTheImageAreRefused_data()
{
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("last input register") << 0x04 << 299 << 1 << true;
    QTest::newRow("input read across the end") << 0x04 << 299 << 2 << false;
    QTest::newRow("input register 300") << 0x04 << 300 << 1 << false;
    QTest::newRow("last holding register") << 0x03 << 99 << 1 << true;
    QTest::newRow("holding register 100") << 0x03 << 100 << 1 << false;
    QTest::newRow("write to the last holding register") << 0x10 << 99 << 1 << true;
    QTest::newRow("write across the end") << 0x10 << 99 << 2 << false;
}

void RtuSlaveTest::addressesOutsideTheImageAreRefused()
{
    QFETCH(int, function);
    QFETCH(int, address);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    TestMaster::Result result{};
    if (function == 0x04)
        result = master.readInputRegisters(address, count);
    else if (function == 0x03)
        result = master.readHoldingRegisters(address, count);
    else
        result = master.writeRegisters(address, QVector<quint16>(count, 0x1234));

    if (accepted) {
        QCOMPARE(result.rc, count);
    } else {
        QCOMPARE(result.rc, -1);
        QCOMPARE(result.error, EMBXILADD);
        QCOMPARE(m_bank->holding(99), quint16(0)); // a refused write changes nothing
    }
}

void RtuSlaveTest::faultSpoilsOneReply_data()
{
    QTest::addColumn<RtuSlave::Fault>("fault");
    QTest::addColumn<int>("expectedErrno");
    QTest::addColumn<bool>("replied");

    QTest::newRow("silent") << RtuSlave::Fault::Silent << ETIMEDOUT << false;
    QTest::newRow("bad crc") << RtuSlave::Fault::BadCrc << int(EMBBADCRC) << true;
    QTest::newRow("truncated") << RtuSlave::Fault::Truncated << ETIMEDOUT << true;
    // Exception 04 is "slave device failure".
    QTest::newRow("exception") << RtuSlave::Fault::Exception << int(EMBXSFAIL) << true;
}

void RtuSlaveTest::faultSpoilsOneReply()
{
    QFETCH(RtuSlave::Fault, fault);
    QFETCH(int, expectedErrno);
    QFETCH(bool, replied);
    m_bank->setInput(8, 2);
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    m_slave->setFault(fault, 1);
    const TestMaster::Result spoilt = master.readInputRegisters(0, 12);
    QCOMPARE(spoilt.rc, -1);
    QCOMPARE(spoilt.error, expectedErrno);
    QCOMPARE(m_slave->fault(), RtuSlave::Fault::None);

    const TestMaster::Result next = master.readInputRegisters(0, 12);
    QCOMPARE(next.rc, 12);
    QCOMPARE(next.words[8], quint16(2));

    const QVector<SlaveRequest> log = m_slave->requests();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].repliedMs >= 0, replied);
    QVERIFY(log[1].repliedMs >= 0);
}

void RtuSlaveTest::faultCountsAndSwitchingOff()
{
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    m_slave->setFault(RtuSlave::Fault::BadCrc, 2);
    QCOMPARE(master.readInputRegisters(0, 12).rc, -1);
    QCOMPARE(master.readInputRegisters(0, 12).rc, -1);
    QCOMPARE(master.readInputRegisters(0, 12).rc, 12);

    // Until switched off; a device that fails does not carry out the write.
    m_slave->setFault(RtuSlave::Fault::Exception);
    for (int i = 0; i < 3; ++i) {
        const TestMaster::Result refused = master.writeRegisters(0, {10});
        QCOMPARE(refused.rc, -1);
        QCOMPARE(refused.error, int(EMBXSFAIL));
    }
    QCOMPARE(m_bank->holding(0), quint16(0));
    QCOMPARE(m_slave->fault(), RtuSlave::Fault::Exception);

    m_slave->clearFault();
    QCOMPARE(master.writeRegisters(0, {10}).rc, 1);
    QCOMPARE(m_bank->holding(0), quint16(10));
}

void RtuSlaveTest::lateReplyTimesOutAndCanBeFlushed()
{
    m_bank->setInput(9, 3);
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    m_slave->setFault(RtuSlave::Fault::Late, 1, 700);
    QElapsedTimer timer;
    timer.start();
    const TestMaster::Result late = master.readInputRegisters(0, 12);
    QCOMPARE(late.rc, -1);
    QCOMPARE(late.error, ETIMEDOUT);
    QVERIFY2(timer.elapsed() < 700, "the master must give up before the late reply");

    QTRY_VERIFY_WITH_TIMEOUT(m_slave->requests().value(0).repliedMs >= 0, 3000);
    const SlaveRequest request = m_slave->requests().value(0);
    QVERIFY(request.repliedMs - request.receivedMs >= 700);
    QVERIFY(master.waitReadable(2000));
    QCOMPARE(modbus_flush(master.ctx()), 0); // RTU flushes with tcflush: 0, not a byte count

    const TestMaster::Result next = master.readInputRegisters(0, 12);
    QCOMPARE(next.rc, 12);
    QCOMPARE(next.words[9], quint16(3));
}

void RtuSlaveTest::replyDelayAndLinePacing()
{
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    // A curve read at 9600 baud: 8 request bytes, 249 reply bytes and the
    // 3.5-character gap at 10 bits each, about 271 ms.
    m_slave->setLinePacing(9600);
    QCOMPARE(master.readInputRegisters(100, 122).rc, 122);
    SlaveRequest request = m_slave->requests().value(0);
    QVERIFY2(request.repliedMs - request.receivedMs >= 270,
             qPrintable(QString::number(request.repliedMs - request.receivedMs)));

    m_slave->setLinePacing(0);
    m_slave->setReplyDelay(120);
    QCOMPARE(master.readInputRegisters(0, 12).rc, 12);
    request = m_slave->requests().value(1);
    QVERIFY(request.repliedMs - request.receivedMs >= 120);
}

void RtuSlaveTest::foreignAndBrokenFramesAreDropped()
{
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    modbus_set_slave(master.ctx(), 2);
    const TestMaster::Result foreign = master.readInputRegisters(0, 12);
    QCOMPARE(foreign.rc, -1);
    QCOMPARE(foreign.error, ETIMEDOUT);
    QCOMPARE(m_slave->requestCount(), 0);

    // The start of a request with no end, then a whole one (a status read) in
    // the same burst: the slave cannot tell them apart until the line goes
    // quiet, drops both, and then answers the next request normally.
    modbus_set_slave(master.ctx(), 1);
    const quint8 burst[] = {0x01, 0x03, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00, 0x0C, 0xF0, 0x0F};
    QCOMPARE(::write(modbus_get_socket(master.ctx()), burst, sizeof burst), ssize_t(sizeof burst));
    quint8 reply[MODBUS_RTU_MAX_ADU_LENGTH];
    QCOMPARE(modbus_receive_confirmation(master.ctx(), reply), -1);
    QCOMPARE(errno, ETIMEDOUT);
    QCOMPARE(m_slave->requestCount(), 0);

    QCOMPARE(master.readInputRegisters(0, 12).rc, 12);
    QCOMPARE(m_slave->requestCount(), 1);
}

void RtuSlaveTest::unknownFunctionGetsIllegalFunction()
{
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());

    const quint8 request[] = {0x01, 0x41, 0x00};
    QVERIFY(modbus_send_raw_request(master.ctx(), const_cast<quint8 *>(request), sizeof request) > 0);
    quint8 reply[MODBUS_RTU_MAX_ADU_LENGTH];
    QVERIFY(modbus_receive_confirmation(master.ctx(), reply) > 0);
    QCOMPARE(reply[1], quint8(0xC1));
    QCOMPARE(reply[2], quint8(0x01));
    QCOMPARE(m_slave->requests().value(0).function, quint8(0x41));

    QCOMPARE(master.readInputRegisters(0, 12).rc, 12);
}

void RtuSlaveTest::clientCanCloseAndReconnect()
{
    for (int round = 0; round < 3; ++round) {
        TestMaster master(m_slave->portPath());
        QVERIFY2(master.isOpen(), qPrintable(QString("round %1").arg(round)));
        QCOMPARE(master.writeRegisters(0, {quint16(round + 1)}).rc, 1);
        QCOMPARE(master.readHoldingRegisters(0, 1).words.value(0), quint16(round + 1));
    }
    QCOMPARE(m_slave->requestCount(), 6);
    QVERIFY(m_slave->isRunning());
}

void RtuSlaveTest::hangUpFailsTheClientAndRemovesThePort()
{
    const QString path = m_slave->portPath();
    TestMaster master(path);
    QVERIFY(master.isOpen());
    QCOMPARE(master.readInputRegisters(0, 12).rc, 12);

    m_slave->hangUp();
    QVERIFY(!m_slave->isRunning());

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(master.readInputRegisters(0, 12).rc, -1);
    QCOMPARE(master.writeRegisters(0, {10}).rc, -1);
    QVERIFY2(timer.elapsed() < 400, "a hung-up line fails at once, not by timeout");

    QVERIFY(!QFile::exists(path));
    TestMaster again(path);
    QVERIFY(!again.isOpen());

    // Started again, the slave serves on a new pty.
    QVERIFY(m_slave->start());
    TestMaster fresh(m_slave->portPath());
    QVERIFY(fresh.isOpen());
    QCOMPARE(fresh.readInputRegisters(0, 12).rc, 12);
}

void RtuSlaveTest::stopIsPromptWhileAReplyWaits()
{
    TestMaster master(m_slave->portPath());
    QVERIFY(master.isOpen());
    m_slave->setFault(RtuSlave::Fault::Late, 1, 60000);

    const quint8 request[] = {0x01, 0x04, 0x00, 0x00, 0x00, 0x0C};
    QVERIFY(modbus_send_raw_request(master.ctx(), const_cast<quint8 *>(request), sizeof request) > 0);
    QTRY_COMPARE(m_slave->requestCount(), 1);

    QElapsedTimer timer;
    timer.start();
    m_slave->stop();
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(m_slave->requests().value(0).repliedMs, qint64(-1));
}

QTEST_GUILESS_MAIN(RtuSlaveTest)
#include "tst_rtuslave.moc"
