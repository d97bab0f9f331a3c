// Live readout texts and force unit conversions.

#include <QtTest>

#include <limits>

#include "chart/forceunit.h"
#include "control/readout.h"

class ReadoutTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { ForceUnit::resetDisplayState(); }

    void forceText_data()
    {
        QTest::addColumn<float>("newtons");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("N, 3") << 12.3456f << 0 << 3 << "12.345 N";
        QTest::newRow("negative N, 2") << -12.3456f << 0 << 2 << "-12.34 N";
        QTest::newRow("truncates, never rounds") << 12.349f << 0 << 2 << "12.34 N";
        QTest::newRow("kg") << 98.0f << 1 << 3 << "10.000 Kg";
        QTest::newRow("lb, 2") << 98.0f << 2 << 2 << "22.04 Lb";
        QTest::newRow("lb, 3") << 100.0f << 2 << 3 << "22.495 Lb";
        QTest::newRow("no negative zero") << -0.0005f << 0 << 3 << "0.000 N";
        QTest::newRow("no decimal point") << 12.3456f << 0 << 0 << "12 N";
        QTest::newRow("unknown unit shows 0") << 50.0f << 7 << 1 << "0.0 ?";
        QTest::newRow("unit code 255") << 50.0f << 255 << 2 << "0.00 ?";
        // Decimals beyond the display's reach are bounded and never overflow.
        QTest::newRow("10 decimals") << 5000.0f << 0 << 10 << "5000.000000000 N";
        QTest::newRow("huge decimals") << -1.0e30f << 0 << 65535 << "-1000000015047466219876688855040.000000000 N";
        QTest::newRow("negative decimals") << 1.75f << 0 << -4 << "1 N";
        // Beyond a float's digits the cut value has no float of its own; the nearest
        // one would show the last digit rounded up (2.6750000, 0.300000012).
        QTest::newRow("7 decimals, cut") << 2.675f << 0 << 7 << "2.6749999 N";
        QTest::newRow("9 decimals, cut") << 0.3f << 0 << 9 << "0.300000011 N";
        QTest::newRow("negative, 9 decimals, cut") << -1.1f << 0 << 9 << "-1.100000023 N";
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0 << 3 << "\u2013 N";
        QTest::newRow("infinite, kg") << -std::numeric_limits<float>::infinity() << 1 << 3 << "\u2013 Kg";
    }

    void forceText()
    {
        QFETCH(float, newtons);
        QFETCH(int, unit);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(Readout::forceText(newtons, uint8_t(unit), decimals), text);
    }

    void distanceText_data()
    {
        QTest::addColumn<float>("millimetres");
        QTest::addColumn<QString>("text");
        QTest::newRow("5.67") << 5.67f << "5.6 mm";
        QTest::newRow("-5.67") << -5.67f << "-5.6 mm";
        QTest::newRow("12.34") << 12.34f << "12.3 mm";
        QTest::newRow("0.05") << 0.05f << "0.0 mm";
        QTest::newRow("-0.05") << -0.05f << "0.0 mm";
        // 1988953.2 lies nearer the float 1988953.25 than any other.
        QTest::newRow("beyond a float's decimal") << 1988953.25f << "1988953.2 mm";
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << "\u2013 mm";
    }

    void distanceText()
    {
        QFETCH(float, millimetres);
        QFETCH(QString, text);
        QCOMPARE(Readout::distanceText(millimetres), text);
    }

    void conversionsRoundTrip()
    {
        QCOMPARE(ForceUnit::fromNewtons(98.0f, ForceUnit::Kilogram), 10.0f);
        QCOMPARE(ForceUnit::toNewtons(10.0f, ForceUnit::Kilogram), 98.0f);
        QCOMPARE(ForceUnit::fromNewtons(98.0f, ForceUnit::Pound), 22.046f);
        QCOMPARE(ForceUnit::toNewtons(22.046f, ForceUnit::Pound), 98.0f);
        QCOMPARE(ForceUnit::fromNewtons(98.0f, ForceUnit::Newton), 98.0f);
        QCOMPARE(ForceUnit::fromNewtons(98.0f, 3), 0.0f);
        QCOMPARE(ForceUnit::toNewtons(98.0f, 3), 98.0f);
    }

    void unitCycle()
    {
        // N -> kg -> lb -> N brings a value back to where it started.
        float value = 19.6f;
        value = ForceUnit::nextInCycle(value, ForceUnit::Newton);
        QCOMPARE(value, 2.0f);
        value = ForceUnit::nextInCycle(value, ForceUnit::Kilogram);
        QCOMPARE(value, 4.4092f);
        value = ForceUnit::nextInCycle(value, ForceUnit::Pound);
        QCOMPARE(value, 19.6f);
        QCOMPARE(ForceUnit::nextInCycle(5.0f, 9), 5.0f);
    }

    void unitNames()
    {
        QCOMPARE(ForceUnit::name(0), QStringLiteral("N"));
        QCOMPARE(ForceUnit::name(1), QStringLiteral("Kg"));
        QCOMPARE(ForceUnit::name(2), QStringLiteral("Lb"));
        QCOMPARE(ForceUnit::name(3), QStringLiteral("?"));
    }
};

QTEST_GUILESS_MAIN(ReadoutTest)
#include "tst_readout.moc"
