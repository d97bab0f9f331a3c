// Golden register images of the controller's contract, checked in both directions.

#include <QtTest>

#include <limits>

#include "device/registers.h"

using namespace Registers;

Q_DECLARE_METATYPE(Registers::Words)

namespace {
Words statusWords(float force, float distance, QVector<uint16_t> tail)
{
    Words words(StatusCount, 0);
    encodeFloat(force, words.data());
    encodeFloat(distance, words.data() + 2);
    for (int i = 0; i < tail.size(); ++i)
        words[8 + i] = tail[i];
    return words;
}

Words curveWords(uint16_t direction, uint16_t count, int filled = CurveSlots)
{
    Words words(CurveCount, 0);
    words[0] = direction;
    words[1] = count;
    for (int i = 0; i < filled; ++i) {
        encodeFloat(100.0f + i, words.data() + 2 + 4 * i);  // force
        encodeFloat(float(i) / 2, words.data() + 4 + 4 * i);  // distance
    }
    return words;
}
} // namespace

class RegistersTest : public QObject
{
    Q_OBJECT

private slots:
    void floatWordOrder_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<uint16_t>("low");
        QTest::addColumn<uint16_t>("high");
        QTest::newRow("10.0") << 10.0f << uint16_t(0x0000) << uint16_t(0x4120);
        QTest::newRow("123456.0") << 123456.0f << uint16_t(0x2000) << uint16_t(0x47F1);
        QTest::newRow("1.0") << 1.0f << uint16_t(0x0000) << uint16_t(0x3F80);
        QTest::newRow("-2.5") << -2.5f << uint16_t(0x0000) << uint16_t(0xC020);
        QTest::newRow("0.1") << 0.1f << uint16_t(0xCCCD) << uint16_t(0x3DCC);
    }

    void floatWordOrder()
    {
        QFETCH(float, value);
        QFETCH(uint16_t, low);
        QFETCH(uint16_t, high);
        uint16_t words[2];
        encodeFloat(value, words);
        QCOMPARE(words[0], low);
        QCOMPARE(words[1], high);
        QCOMPARE(decodeFloat(words), value);
    }

    void commandImages_data()
    {
        QTest::addColumn<Words>("actual");
        QTest::addColumn<Words>("expected");
        QTest::newRow("start") << startTestWords(Curve_Setting{1, 1, 250, 10.0f})
                               << Words{3, 5, 1, 1, 250, 0x0000, 0x4120};
        QTest::newRow("start cuts to 16 bits") << startTestWords(Curve_Setting{0, 0, 0x12345, -2.5f})
                                               << Words{3, 5, 0, 0, 0x2345, 0x0000, 0xC020};
        QTest::newRow("stop") << stopTestWords() << Words{4, 0};
        QTest::newRow("change system set")
            << changeSystemSetWords({1.0f, 2.0f, 3.0f}, {4, 5})
            << Words{9, 0x0000, 0x3F80, 0x0000, 0x4000, 0x0000, 0x4040, 4, 5};
        QTest::newRow("change system set 65535") << changeSystemSetWords({0, 0, 0}, {65535, -1})
                                                 << Words{9, 0, 0, 0, 0, 0, 0, 0xFFFF, 0xFFFF};
        QTest::newRow("short float vector") << changeSystemSetWords({1.0f, 2.0f}, {4, 5}) << Words{};
        QTest::newRow("short int vector") << changeSystemSetWords({1.0f, 2.0f, 3.0f}, {4}) << Words{};
        QTest::newRow("system set request") << systemSetRequestWords(1) << Words{5, 1};
        QTest::newRow("system data request") << systemDataRequestWords(2, 0x10003) << Words{7, 2, 3};
        QTest::newRow("zero") << commandWords(Zero) << Words{10};
        QTest::newRow("distance zero") << commandWords(DistanceZero) << Words{11};
        QTest::newRow("auto") << commandWords(SwitchAuto) << Words{12};
        QTest::newRow("test mode") << commandWords(SwitchTestMode) << Words{13};
        QTest::newRow("up") << commandWords(MoveUp) << Words{14};
        QTest::newRow("down") << commandWords(MoveDown) << Words{15};
        QTest::newRow("up record") << commandWords(MoveUpRecord) << Words{16};
        QTest::newRow("down record") << commandWords(MoveDownRecord) << Words{17};
        QTest::newRow("unit") << commandWords(SwitchUnit) << Words{18};
    }

    void commandImages()
    {
        QFETCH(Words, actual);
        QFETCH(Words, expected);
        QCOMPARE(actual, expected);
    }

    void statusBlock()
    {
        const Words words = statusWords(12.5f, -3.25f, {2, 3, 1, 0xFFFF});
        const Status status = decodeStatus(words.constData());
        QCOMPARE(status.fState, (QVector<float>{12.5f, -3.25f}));
        // Integers are unsigned on the wire: 0xFFFF is 65535, never -1.
        QCOMPARE(status.iState, (QVector<int>{2, 3, 1, 65535}));
    }

    void curveBlock_data()
    {
        QTest::addColumn<Words>("words");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("index");
        QTest::newRow("forward, 5") << curveWords(Forward, 5) << false << 5 << 0;
        QTest::newRow("return, 1") << curveWords(Return, 1) << false << 1 << 1;
        QTest::newRow("30 is full") << curveWords(Forward, 30) << false << 30 << 0;
        QTest::newRow("31 is empty") << curveWords(Forward, 31) << true << 0 << 0;
        QTest::newRow("0 is empty") << curveWords(Return, 0) << true << 0 << 0;
        QTest::newRow("65535 is empty") << curveWords(Return, 0xFFFF) << true << 0 << 0;
        QTest::newRow("direction 3 drops points") << curveWords(3, 5) << false << 0 << 0;
        QTest::newRow("direction 0 drops points") << curveWords(0, 5) << false << 0 << 0;
    }

    void curveBlock()
    {
        QFETCH(Words, words);
        QFETCH(bool, empty);
        QFETCH(int, points);
        QFETCH(int, index);
        const CurveBlock block = decodeCurveBlock(words.constData());
        QCOMPARE(block.empty, empty);
        QCOMPARE(block.points.size(), points);
        for (int i = 0; i < block.points.size(); ++i) {
            QCOMPARE(block.points[i].index, index);
            QCOMPARE(block.points[i].y, 100.0 + i);  // force is the first float of a slot
            QCOMPARE(block.points[i].x, double(float(i) / 2));
        }
    }

    void curveBlockTakesOnlyCountedSlots()
    {
        Words words = curveWords(Forward, 2);
        encodeFloat(999.0f, words.data() + 2 + 4 * 2);  // a stale third slot
        const CurveBlock block = decodeCurveBlock(words.constData());
        QCOMPARE(block.points.size(), 2);
    }

    void nonFiniteCurvePointsAreDropped()
    {
        Words words = curveWords(Forward, 5);
        encodeFloat(std::numeric_limits<float>::quiet_NaN(), words.data() + 2 + 4 * 1);      // force
        encodeFloat(std::numeric_limits<float>::infinity(), words.data() + 4 + 4 * 3);       // distance
        encodeFloat(-std::numeric_limits<float>::infinity(), words.data() + 2 + 4 * 4);      // force
        const CurveBlock block = decodeCurveBlock(words.constData());
        QVERIFY(!block.empty);
        QCOMPARE(block.nonFinite, 3);
        QCOMPARE(block.points.size(), 2);
        QCOMPARE(block.points[0].y, 100.0);
        QCOMPARE(block.points[1].y, 102.0);
    }

    void systemSetAnswer()
    {
        Words words(SystemSetAnswerCount, 0);
        words[0] = SystemSetReply;
        encodeFloat(98.0f, words.data() + 1);
        encodeFloat(2.5f, words.data() + 3);
        encodeFloat(-1.0f, words.data() + 5);
        words[7] = 65535;
        words[8] = 12;
        SystemSet answer;
        QVERIFY(decodeSystemSetAnswer(words.constData(), words.size(), &answer));
        QCOMPARE(answer.pointSet, (QVector<float>{98.0f, 2.5f, -1.0f}));
        QCOMPARE(answer.systemSet, (QVector<int>{65535, 12}));

        // The controller has not answered yet: register 0 still holds the request.
        words[0] = SystemSetRequest;
        QVERIFY(!decodeSystemSetAnswer(words.constData(), words.size(), &answer));
        words[0] = SystemSetReply;
        QVERIFY(!decodeSystemSetAnswer(words.constData(), words.size() - 1, &answer));
    }

    void systemDataAnswer()
    {
        Words words(SystemDataAnswerCount, 0);
        words[0] = SystemDataReply;
        for (int i = 0; i < 4; ++i)
            words[1 + i] = uint16_t(0xFFF0 + i);
        for (int i = 0; i < 10; ++i)
            encodeFloat(float(i) + 0.5f, words.data() + 5 + 2 * i);
        SystemData answer;
        QVERIFY(decodeSystemDataAnswer(words.constData(), words.size(), &answer));
        QCOMPARE(answer.systemData, (QVector<int>{0xFFF0, 0xFFF1, 0xFFF2, 0xFFF3}));
        QCOMPARE(answer.pointData.size(), 10);
        QCOMPARE(answer.pointData.last(), 9.5f);

        words[0] = SystemSetReply;
        QVERIFY(!decodeSystemDataAnswer(words.constData(), words.size(), &answer));
    }
};

QTEST_GUILESS_MAIN(RegistersTest)
#include "tst_registers.moc"
