// The simulated stand seen from outside, as a master sees the controller:
// through RtuSlave on a pseudo-terminal with a libmodbus master and with
// mbpoll, and as the quelmar-standsim program. The stand's clock is the
// test's, so what a read sees does not hang on the machine's speed.

#include "sim/controllerdouble.h"
#include "sim/rtuslave.h"
#include "testmaster.h"
#include "sim/simulatedstand.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>


#include <errno.h>

#include <atomic>
#include <memory>

namespace {
// Generous, for a loaded machine: these tests look at contents, not timing.
constexpr int GenerousTimeoutSeconds = 5;


quint16 lo(float value) { return ControllerDouble::lowWord(value); }
quint16 hi(float value) { return ControllerDouble::highWord(value); }
float floatAt(const QVector<quint16> &words, int at) { return ControllerDouble::toFloat(words.at(at), words.at(at + 1)); }

// Command 3 as the program writes it.
QVector<quint16> startCommand(int mode, int distanceMode, int speed, float distance)
{
    return {3, 5, quint16(mode), quint16(distanceMode), quint16(speed), lo(distance), hi(distance)};
}

// mbpoll prints one "[reference]: <tab>value" line per value read.
QMap<int, QString> mbpollValues(const QByteArray &output)
{
    QMap<int, QString> values;
    const QRegularExpression line(QStringLiteral("^\\[(\\d+)\\]:\\s+(\\S+)"));
    for (const QString &text : QString::fromLocal8Bit(output).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch())
            values.insert(match.captured(1).toInt(), match.captured(2));
    }
    return values;
}

} // namespace

class SimulatedStandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void statusBlockShowsTheStand();
    void switchesShowInTheStatusBlock_data();
    void switchesShowInTheStatusBlock();
    void startCommandDeliversCurveBlocks();
    void requestShowsItsCodeUntilAnswered_data();
    void requestShowsItsCodeUntilAnswered();
    void changedParametersReadBack();
    void storedParametersGovernTestsAndJogs();
    void addressesOutsideTheRegistersAreRefused_data();
    void addressesOutsideTheRegistersAreRefused();
    void mbpollReadsTheStatusBlock();
    void standsimProgramServesUntilTerminated_data();
    void standsimProgramServesUntilTerminated();

private:
    void advanceClock(qint64 ms) { m_clockMs += ms; }

    std::atomic<qint64> m_clockMs{1000000};
    std::unique_ptr<SimulatedStand> m_stand;
    std::unique_ptr<RtuSlave> m_slave;
    std::unique_ptr<TestMaster> m_master;
};

void SimulatedStandTest::init()
{
    m_stand.reset(new SimulatedStand([this] { return m_clockMs.load(); }));
    m_stand->withModel([](StandModel &model) { model.setNoise(0.0); });
    m_slave.reset(new RtuSlave(m_stand.get()));
    QVERIFY2(m_slave->start(), qPrintable(m_slave->errorString()));
    m_master.reset(new TestMaster(m_slave->portPath(), GenerousTimeoutSeconds));
    QVERIFY(m_master->isOpen());
}

void SimulatedStandTest::cleanup()
{
    m_master.reset();
    m_slave.reset();
    m_stand.reset();
}

void SimulatedStandTest::statusBlockShowsTheStand()
{
    m_stand->withModel([](StandModel &model) {
        model.setTypeNumber(200);
        model.setDecimals(2);
        model.setSpecimen(StandModel::specimenFor(500));  // 50 N/mm after 1 mm of slack
    });

    // Down at the stored 100 mm/min for 3 s: 5 mm, 4 mm into the specimen.
    QVERIFY(m_master->write(0, {15}));
    advanceClock(3000);
    QVERIFY(m_master->write(0, {4}));
    QVector<quint16> status = m_master->readInput(0, 12);
    QCOMPARE(status.size(), 12);
    QCOMPARE(status.mid(0, 4), (QVector<quint16>{0x0000, 0x4348, 0x0000, 0x40A0}));  // 200.0 N, 5.0 mm
    QCOMPARE(status.mid(4, 8), (QVector<quint16>{200, 2, 0, 0, 0, 2, 0, 0}));

    // Zero moves the force into registers 6-7; Distance Zero takes the distance.
    QVERIFY(m_master->write(0, {10}));
    QVERIFY(m_master->write(0, {11}));
    status = m_master->readInput(0, 12);
    QCOMPARE(floatAt(status, 0), 0.0f);
    QCOMPARE(floatAt(status, 2), 0.0f);
    QCOMPARE(floatAt(status, 6), 200.0f);

    // In peak mode the largest force stays after the head has backed off.
    QVERIFY(m_master->write(0, {13}));
    QVERIFY(m_master->write(0, {15}));
    advanceClock(600);  // 1 mm further down: 50 N more
    QVERIFY(m_master->write(0, {14}));
    advanceClock(600);  // and back
    QVERIFY(m_master->write(0, {4}));
    status = m_master->readInput(0, 12);
    QCOMPARE(floatAt(status, 0), 50.0f);
    QCOMPARE(floatAt(status, 2), 0.0f);
    QCOMPARE(status[11], quint16(1));
    QVERIFY(m_master->write(0, {13}));
    QCOMPARE(floatAt(m_master->readInput(0, 12), 0), 0.0f);
}

void SimulatedStandTest::switchesShowInTheStatusBlock_data()
{
    QTest::addColumn<QVector<quint16>>("commands");
    QTest::addColumn<QVector<quint16>>("registers8to11");  // unit, decimals, auto, display mode

    QTest::newRow("as started") << QVector<quint16>{} << QVector<quint16>{0, 3, 0, 0};
    QTest::newRow("unit kg") << QVector<quint16>{18} << QVector<quint16>{1, 3, 0, 0};
    QTest::newRow("unit lb") << QVector<quint16>{18, 18} << QVector<quint16>{2, 3, 0, 0};
    QTest::newRow("unit back to N") << QVector<quint16>{18, 18, 18} << QVector<quint16>{0, 3, 0, 0};
    QTest::newRow("auto on") << QVector<quint16>{12} << QVector<quint16>{0, 3, 1, 0};
    QTest::newRow("auto off again") << QVector<quint16>{12, 12} << QVector<quint16>{0, 3, 0, 0};
    QTest::newRow("peak") << QVector<quint16>{13} << QVector<quint16>{0, 3, 0, 1};
    QTest::newRow("real time again") << QVector<quint16>{13, 13} << QVector<quint16>{0, 3, 0, 0};
    QTest::newRow("unknown code is no command") << QVector<quint16>{99} << QVector<quint16>{0, 3, 0, 0};
}

void SimulatedStandTest::switchesShowInTheStatusBlock()
{
    QFETCH(QVector<quint16>, commands);
    QFETCH(QVector<quint16>, registers8to11);

    for (quint16 command : commands)
        QVERIFY(m_master->write(0, {command}));
    const QVector<quint16> status = m_master->readInput(0, 12);
    QCOMPARE(status.size(), 12);
    QCOMPARE(status.mid(8), registers8to11);
    QCOMPARE(status.mid(4, 2), (QVector<quint16>{500, 3}));
}

void SimulatedStandTest::startCommandDeliversCurveBlocks()
{
    // Push 10 mm at 120 mm/min: 5 s out, 5 s back, 50 points a second.
    QVERIFY(m_master->write(0, startCommand(0, 0, 120, 10.0f)));
    advanceClock(1000);

    QVector<quint16> block = m_master->readInput(100, 122);
    QCOMPARE(block.size(), 122);
    QCOMPARE(block[0], quint16(1));
    QCOMPARE(block[1], quint16(30));
    for (int i = 0; i < 30; ++i)
        QVERIFY(qAbs(floatAt(block, 4 + 4 * i) - 0.04f * i) < 1e-4f);
    QVERIFY(floatAt(block, 2 + 4 * 29) > 0.0f);  // 1.16 mm, past the slack

    // A status read in between takes no points.
    QCOMPARE(m_master->readInput(0, 12).size(), 12);
    block = m_master->readInput(100, 122);
    QCOMPARE(block.mid(0, 2), (QVector<quint16>{1, 21}));
    QCOMPARE(floatAt(block, 4 + 4 * 20), 2.0f);
    QCOMPARE(block.mid(2 + 4 * 21), QVector<quint16>(4 * 9, 0));
    block = m_master->readInput(100, 122);
    QCOMPARE(block, QVector<quint16>(122, 0));

    // The rest of the test: 200 more forward points, then 250 back.
    advanceClock(9000);
    QVector<quint16> directions;
    QVector<float> distances;
    for (block = m_master->readInput(100, 122); block.value(1) != 0; block = m_master->readInput(100, 122)) {
        QVERIFY(block[1] <= 30);
        for (int i = 0; i < block[1]; ++i) {
            directions.append(block[0]);
            distances.append(floatAt(block, 4 + 4 * i));
        }
    }
    QCOMPARE(block.size(), 122);
    QCOMPARE(directions.size(), 450);
    QCOMPARE(directions.count(1), 200);
    QCOMPARE(directions.indexOf(2), 200);
    QCOMPARE(distances[199], 10.0f);
    QCOMPARE(distances.last(), 0.0f);
}

void SimulatedStandTest::requestShowsItsCodeUntilAnswered_data()
{
    QTest::addColumn<QVector<quint16>>("request");
    QTest::addColumn<int>("readCount");
    QTest::addColumn<QVector<quint16>>("answer");

    const StandModel::StoredParameters parameters;  // what the stand starts with
    QTest::newRow("request 5, reply 6")
        << QVector<quint16>{5, 1} << 60
        << QVector<quint16>{6, lo(parameters.pointSet[0]), hi(parameters.pointSet[0]), lo(parameters.pointSet[1]),
                            hi(parameters.pointSet[1]), lo(parameters.pointSet[2]), hi(parameters.pointSet[2]),
                            parameters.systemSet[0], parameters.systemSet[1]};
    // The data block the test below stores: 1, 2, 3, 65535 and 0.5, 1.5, ... 9.5.
    QVector<quint16> data{8, 1, 2, 3, 65535};
    for (int i = 0; i < 10; ++i)
        data << lo(i + 0.5f) << hi(i + 0.5f);
    QTest::newRow("request 7, reply 8") << QVector<quint16>{7, 1, 2} << 25 << data;
}

void SimulatedStandTest::requestShowsItsCodeUntilAnswered()
{
    QFETCH(QVector<quint16>, request);
    QFETCH(int, readCount);
    QFETCH(QVector<quint16>, answer);
    m_stand->withModel([](StandModel &model) {
        StandModel::StoredData data;
        data.systemData = {1, 2, 3, 65535};
        for (int i = 0; i < 10; ++i)
            data.pointData[i] = i + 0.5f;
        model.setStoredData(data);
    });
    // Words of an earlier command fill the mailbox; the request must clear them.
    QVERIFY(m_master->write(0, QVector<quint16>(60, 0x7777)));

    QVERIFY(m_master->write(0, request));
    QVector<quint16> early(readCount, 0);
    std::copy(request.begin(), request.end(), early.begin());
    QCOMPARE(m_master->readHolding(0, readCount), early);
    advanceClock(StandModel::DefaultProcessingDelayMs - 1);
    QCOMPARE(m_master->readHolding(0, readCount), early);

    advanceClock(1);
    QVector<quint16> expected(readCount, 0);
    std::copy(answer.begin(), answer.end(), expected.begin());
    QCOMPARE(m_master->readHolding(0, readCount), expected);
    // The answer stays until the next write.
    advanceClock(10000);
    QCOMPARE(m_master->readHolding(0, readCount), expected);
}

void SimulatedStandTest::changedParametersReadBack()
{
    const QVector<quint16> change{9, 0x0000, 0x3F80, 0x0000, 0x4000, 0x0000, 0x4040, 4, 5};
    QVERIFY(m_master->write(0, change));
    QVERIFY(m_master->write(0, {5, 1}));
    advanceClock(StandModel::DefaultProcessingDelayMs);

    const QVector<quint16> answer = m_master->readHolding(0, 60);
    QCOMPARE(answer.size(), 60);
    QCOMPARE(answer.mid(0, 9), (QVector<quint16>{6, 0x0000, 0x3F80, 0x0000, 0x4000, 0x0000, 0x4040, 4, 5}));
    QCOMPARE(answer.mid(9), QVector<quint16>(51, 0));
}

void SimulatedStandTest::storedParametersGovernTestsAndJogs()
{
    // Stop at 200 N, jog 2.5 mm at 300 mm/min; peak low and total count only kept.
    QVERIFY(m_master->write(0, {9, lo(200.0f), hi(200.0f), lo(2.5f), hi(2.5f), lo(5.0f), hi(5.0f), 300, 7}));

    // Push 10 mm at 120 mm/min into 50 N/mm after 1 mm of slack: 200 N at 5 mm,
    // where the test turns back. The points are 2 N apart near the top.
    QVERIFY(m_master->write(0, startCommand(0, 0, 120, 10.0f)));
    advanceClock(10000);
    float peak = 0.0f;
    float deepest = 0.0f;
    QVector<quint16> block;
    for (block = m_master->readInput(100, 122); block.value(1) != 0; block = m_master->readInput(100, 122)) {
        for (int i = 0; i < block[1] && block[0] == 1; ++i) {
            peak = qMax(peak, floatAt(block, 2 + 4 * i));
            deepest = qMax(deepest, floatAt(block, 4 + 4 * i));
        }
    }
    QVERIFY2(peak > 198.0f && peak <= 200.1f, QByteArray::number(peak));
    QVERIFY2(deepest > 4.96f && deepest <= 5.002f, QByteArray::number(deepest));
    QCOMPARE(floatAt(m_master->readInput(0, 12), 2), 0.0f);

    // A jog moves 2.5 mm in 0.5 s and halts there.
    QVERIFY(m_master->write(0, {15}));
    advanceClock(499);
    QVERIFY(floatAt(m_master->readInput(0, 12), 2) < 2.5f);
    advanceClock(1000);
    QCOMPARE(floatAt(m_master->readInput(0, 12), 2), 2.5f);
}

void SimulatedStandTest::addressesOutsideTheRegistersAreRefused_data()
{
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("input 299") << 0x04 << 299 << 1 << true;
    QTest::newRow("input across 300") << 0x04 << 299 << 2 << false;
    QTest::newRow("holding 99") << 0x03 << 99 << 1 << true;
    QTest::newRow("holding 100") << 0x03 << 100 << 1 << false;
    QTest::newRow("write to 99") << 0x10 << 99 << 1 << true;
    QTest::newRow("write across 100") << 0x10 << 99 << 2 << false;
}

void SimulatedStandTest::addressesOutsideTheRegistersAreRefused()
{
    QFETCH(int, function);
    QFETCH(int, address);
    QFETCH(int, count);
    QFETCH(bool, accepted);

    bool ok = false;
    if (function == 0x04)
        ok = m_master->readInput(address, count).size() == count;
    else if (function == 0x03)
        ok = m_master->readHolding(address, count).size() == count;
    else
        ok = m_master->write(address, QVector<quint16>(count, 0));
    QCOMPARE(ok, accepted);
}

void SimulatedStandTest::mbpollReadsTheStatusBlock()
{
    const QString mbpoll = QStandardPaths::findExecutable(QStringLiteral("mbpoll"));
    if (mbpoll.isEmpty())
        QSKIP("mbpoll is not installed");
    QVERIFY(m_master->write(0, {18}));
    QVERIFY(m_master->write(0, {15}));
    advanceClock(1500);  // 2.5 mm down at 100 mm/min
    QVERIFY(m_master->write(0, {4}));
    m_master.reset();  // mbpoll gets the line to itself

    auto poll = [&](const QString &type, int count) {
        QProcess process;
        process.start(mbpoll, {"-m", "rtu", "-a", "1", "-b", "115200", "-P", "none", "-t", type, "-0", "-r", "0",
                               "-c", QString::number(count), "-o", "5", "-1", m_slave->portPath()});
        const bool finished = process.waitForFinished(30000);
        const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
        return qMakePair(finished && process.exitCode() == 0, output);
    };

    const auto words = poll(QStringLiteral("3"), 12);
    QVERIFY2(words.first, words.second.constData());
    const QMap<int, QString> registers = mbpollValues(words.second);
    QCOMPARE(registers.size(), 12);
    QCOMPARE(registers.value(4), QStringLiteral("500"));
    QCOMPARE(registers.value(5), QStringLiteral("3"));
    QCOMPARE(registers.value(8), QStringLiteral("1"));
    QCOMPARE(registers.value(9), QStringLiteral("3"));

    // mbpoll's float order without -B is ours: the low half first.
    const auto floats = poll(QStringLiteral("3:float"), 2);
    QVERIFY2(floats.first, floats.second.constData());
    const QMap<int, QString> values = mbpollValues(floats.second);
    QCOMPARE(values.value(2).toDouble(), 2.5);
    QCOMPARE(values.value(0).toDouble(), 75.0);  // 1.5 mm into the specimen at 50 N/mm
}

void SimulatedStandTest::standsimProgramServesUntilTerminated_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("firstReadFails");
    QTest::addColumn<QVector<quint16>>("registers4and5");
    QTest::addColumn<int>("minReadMs");

    QTest::newRow("defaults") << QStringList() << false << QVector<quint16>{500, 3} << 0;
    QTest::newRow("type and decimals")
        << QStringList{"--type", "200", "--decimals", "2"} << false << QVector<quint16>{200, 2} << 0;
    QTest::newRow("one exception") << QStringList{"--fault", "exception:1"} << true << QVector<quint16>{500, 3} << 0;
    // 8 bytes out, 9 back and a 3.5-character gap at 10 bits a character: 21 ms.
    QTest::newRow("paced at 9600 baud") << QStringList{"--baud", "9600"} << false << QVector<quint16>{500, 3} << 21;
}

void SimulatedStandTest::standsimProgramServesUntilTerminated()
{
    QFETCH(QStringList, options);
    QFETCH(bool, firstReadFails);
    QFETCH(QVector<quint16>, registers4and5);
    QFETCH(int, minReadMs);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("stand"));

    QProcess standsim;
    standsim.start(QStringLiteral(QUELMAR_STANDSIM), QStringList{"--link", link} + options);
    QVERIFY(standsim.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(standsim.canReadLine(), 10000);
    const QString pty = QString::fromLocal8Bit(standsim.readLine()).trimmed();
    QVERIFY2(pty.startsWith(QLatin1String("/dev/pts/")), qPrintable(pty));
    QCOMPARE(QFileInfo(link).symLinkTarget(), pty);

    {
        TestMaster master(link, GenerousTimeoutSeconds);
        QVERIFY(master.isOpen());
        if (firstReadFails)
            QVERIFY(master.readInput(4, 2).isEmpty());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(master.readInput(4, 2), registers4and5);
        QVERIFY(timer.elapsed() >= minReadMs);
    }

    standsim.terminate();
    QVERIFY(standsim.waitForFinished(10000));
    QCOMPARE(standsim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(standsim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(SimulatedStandTest)
#include "tst_simulatedstand.moc"
