// The rule that decides when the controller counts as not answering, on a clock the
// test sets: reads are given as a script of tokens, "s@700" a failed status read that
// ended at 700 ms, "S" a good one, "c" and "C" the same for curve reads. The link is
// fresh at 0 ms.

#include <QtTest>

#include "device/linkhealth.h"

class LinkHealthTest : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("answering");
        QTest::addColumn<int>("changes");

        QTest::newRow("two failed status reads") << "s@500 s@1200" << true << 0;
        QTest::newRow("three failed status reads") << "s@500 s@1200 s@1900" << false << 1;
        QTest::newRow("a fourth changes nothing") << "s@500 s@1200 s@1900 s@2600" << false << 1;
        QTest::newRow("a good read breaks the run") << "s@500 s@1200 S@1400 s@2100 s@2800" << true << 0;
        QTest::newRow("next good status read revives") << "s@500 s@1200 s@1900 S@2100" << true << 2;
        QTest::newRow("good curve read revives") << "s@500 s@1200 s@1900 C@2000" << true << 2;

        QTest::newRow("curve reads failing 999 ms") << "c@50 c@100 c@999" << true << 0;
        QTest::newRow("curve reads failing 1 s") << "c@50 c@100 c@1000" << false << 1;
        QTest::newRow("timed-out curve reads") << "c@500 c@1000 c@1500" << false << 1;
        QTest::newRow("silence counts from the last answer") << "C@300 c@800 c@1299" << true << 0;
        QTest::newRow("one second after the last answer") << "C@300 c@800 c@1300" << false << 1;
        QTest::newRow("good curve read revives after silence") << "c@1000 C@1100" << true << 2;
        QTest::newRow("silent status reads, then a curve read") << "s@500 s@1200 c@1300" << false << 1;

        QTest::newRow("failed status read keeps a dead link") << "c@1000 s@1700" << false << 1;
        QTest::newRow("failed curve read keeps a dead link") << "s@500 s@1200 s@1900 c@1950" << false << 1;
        QTest::newRow("status failures count across curve reads") << "s@100 c@150 s@200 c@250 s@300"
                                                                   << false << 1;
    }

    void verdict()
    {
        QFETCH(QString, script);
        QFETCH(bool, answering);
        QFETCH(int, changes);

        LinkHealth health;
        health.reset(0);
        int changed = 0;
        for (const QString &token : script.split(QLatin1Char(' '))) {
            const QChar kind = token.at(0);
            const qint64 at = token.mid(2).toLongLong();
            const bool good = kind.isUpper();
            const bool change = kind.toLower() == QLatin1Char('s') ? health.statusRead(good, at)
                                                                  : health.curveRead(good, at);
            changed += change ? 1 : 0;
        }
        QCOMPARE(health.answering(), answering);
        QCOMPARE(changed, changes);
    }

    // Each connection starts afresh: nothing of the last one counts.
    void resetStartsAfresh()
    {
        LinkHealth health;
        health.reset(0);
        health.statusRead(false, 500);
        health.statusRead(false, 1200);
        health.curveRead(false, 5000);
        QVERIFY(!health.answering());
        health.reset(10000);
        QVERIFY(health.answering());
        QVERIFY(!health.curveRead(false, 10999));
        QVERIFY(!health.statusRead(false, 11500));
        QVERIFY(health.answering());
    }
};

QTEST_APPLESS_MAIN(LinkHealthTest)
#include "tst_linkhealth.moc"
