// The stored form of a record without a database: URLs, canonical JSON, points, the
// chain hash and the statistics.

#include "store/databaseurl.h"
#include "store/recordbuilder.h"
#include "store/recordstatistics.h"

#include <QRegularExpression>
#include <QtTest>

class RecordFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void databaseUrls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("display");  // empty when refused
        QTest::addColumn<bool>("warned");
        QTest::newRow("sqlite") << "sqlite:/var/lib/q/records.sqlite" << "sqlite:/var/lib/q/records.sqlite" << false;
        QTest::newRow("sqlite relative") << "sqlite:records.sqlite" << "sqlite:records.sqlite" << false;
        QTest::newRow("sqlite empty") << "sqlite:" << "" << false;
        QTest::newRow("server") << "postgresql://lab@db.example:5433/quelmar"
                                << "postgresql://lab@db.example:5433/quelmar" << false;
        QTest::newRow("short scheme") << "postgres://lab@db/quelmar" << "postgresql://lab@db/quelmar" << false;
        QTest::newRow("socket as parameter") << "postgresql://lab@/quelmar?host=/run/postgresql"
                                             << "postgresql://lab@/quelmar?host=/run/postgresql" << false;
        QTest::newRow("socket encoded") << "postgresql://%2Frun%2Fpostgresql:5432/q"
                                        << "postgresql://:5432/q?host=/run/postgresql" << false;
        QTest::newRow("ipv6") << "postgresql://[::1]:5432/q" << "postgresql://[::1]:5432/q" << false;
        QTest::newRow("options kept") << "postgresql://h/q?sslmode=require&connect_timeout=3"
                                      << "postgresql://h/q?sslmode=require&connect_timeout=3" << false;
        QTest::newRow("password dropped") << "postgresql://lab:s3cret@h/q" << "postgresql://lab@h/q" << true;
        QTest::newRow("password parameter dropped") << "postgresql://h/q?password=s3cret&sslmode=disable"
                                                    << "postgresql://h/q?sslmode=disable" << true;
        QTest::newRow("bad port") << "postgresql://h:99999/q" << "" << false;
        QTest::newRow("no scheme") << "lab:s3cret@h/q" << "" << false;
        QTest::newRow("option with semicolon") << "postgresql://h/q?application_name=a;b" << "" << false;
    }

    void databaseUrls()
    {
        QFETCH(QString, text);
        QFETCH(QString, display);
        QFETCH(bool, warned);
        const DatabaseUrlParse parse = parseDatabaseUrl(text);
        QCOMPARE(parse.url.isValid(), !display.isEmpty());
        QCOMPARE(parse.error.isEmpty(), !display.isEmpty());
        QCOMPARE(parse.url.toDisplayString(), display);
        QCOMPARE(!parse.warning.isEmpty(), warned);
        // Nothing the program shows carries the password.
        for (const QString &shown : {parse.error, parse.warning, parse.url.toDisplayString(), parse.url.connectOptions()})
            QVERIFY2(!shown.contains(QLatin1String("s3cret")), qPrintable(shown));
        if (display.isEmpty())
            return;
        // The display form reads back to the same connection.
        const DatabaseUrl again = parseDatabaseUrl(display).url;
        QCOMPARE(again.host, parse.url.host);
        QCOMPARE(again.port, parse.url.port);
        QCOMPARE(again.dbname, parse.url.dbname);
        QCOMPARE(again.user, parse.url.user);
        QCOMPARE(again.options, parse.url.options);
    }

    void recordJsonIsCanonical()
    {
        RecordInput input;
        input.sample = QStringLiteral("Prüfling 5");
        input.standType = 3;
        input.results = {{QStringLiteral("verdict"), QStringLiteral("fail")}};
        input.method = {{QStringLiteral("name"), QStringLiteral("Peel")}};
        input.recordedAt = QDateTime(QDate(2024, 3, 1), QTime(8, 5, 7, 42), Qt::OffsetFromUTC, 3600);
        const PreparedRecord record = buildRecord(input);

        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"))
                    .match(record.uuid).hasMatch());
        QCOMPARE(record.recordedAt, QStringLiteral("2024-03-01T07:05:07.042Z"));
        QCOMPARE(record.verdict, QStringLiteral("fail"));
        QCOMPARE(record.method, QStringLiteral("Peel"));
        QVERIFY(record.record.contains("\"sample\":\"Prüfling 5\""));
        QVERIFY(!record.record.contains(' ' + QByteArray("\"")));
        // Keys in order, so two programs writing the same record write the same bytes.
        QVERIFY(record.record.indexOf("\"batch\"") < record.record.indexOf("\"method\""));
        QVERIFY(record.record.indexOf("\"method\"") < record.record.indexOf("\"uuid\""));
        QVERIFY(record.record.contains("\"stand\":{\"decimals\":0,\"type\":3,\"unit\":0}"));
        QCOMPARE(buildRecord(RecordInput()).verdict, QStringLiteral("none"));
        QVERIFY(buildRecord(RecordInput()).uuid != buildRecord(RecordInput()).uuid);
    }

    void pointsAndHash()
    {
        const QByteArray forward = encodePoints({{1.5, -2.25}});
        const QByteArray back = encodePoints({{3, 4}});
        QCOMPARE(forward.toHex(), QByteArray("0000c03f000010c0"));
        QCOMPARE(back.toHex(), QByteArray("0000404000008040"));
        QVector<QPointF> points;
        QVERIFY(decodePoints(forward + back, points));
        QCOMPARE(points, (QVector<QPointF>{{1.5, -2.25}, {3, 4}}));
        QVERIFY(!decodePoints(forward.left(7), points));
        QVERIFY(points.isEmpty());

        // Golden values from an independent SHA-256.
        const QString first = recordHash(QString(), "{\"a\":1}", forward, back);
        QCOMPARE(first, QStringLiteral("5f1f435123b5e467528787d7f0bb315572ba07e95f25a715ba0a87d978c5a4ab"));
        QCOMPARE(recordHash(first, "{\"a\":1}", forward, QByteArray()),
                 QStringLiteral("a363ff88579dccac84bf2097d12278773e17e5729c82edb896a22c56fbb249c3"));
    }

    void statistics()
    {
        const QString peak = QStringLiteral("forward.peak_force_N");
        const QString work = QStringLiteral("forward.work_mJ");
        QVector<QMap<QString, double>> values;
        for (double v : {1.0, 2.0, 3.0, 4.0})
            values.append({{peak, 1e9 + v}});
        values.append({{work, -2.0}});
        const QMap<QString, ResultLimits> limits{{peak, {1e9, 1e9 + 5}}, {work, {{}, 10.0}}};
        const auto stats = resultStatistics(values, limits);

        const ResultStatistics p = stats.value(peak);
        QCOMPARE(p.n, 4);
        QCOMPARE(p.mean, 1e9 + 2.5);
        QCOMPARE(p.min, 1e9 + 1);
        QCOMPARE(p.max, 1e9 + 4);
        QVERIFY(p.sd && qAbs(*p.sd - 1.2909944487358056) < 1e-9);  // sqrt(5/3)
        QVERIFY(p.cpk && qAbs(*p.cpk - 2.5 / (3 * 1.2909944487358056)) < 1e-9);
        QVERIFY(p.cvPercent && qAbs(*p.cvPercent - 100 * 1.2909944487358056 / (1e9 + 2.5)) < 1e-15);

        const ResultStatistics w = stats.value(work);
        QCOMPARE(w.n, 1);
        QVERIFY(!w.sd && !w.cvPercent && !w.cpk);
        const QJsonObject json = statisticsJson(w);
        QVERIFY(json.value(QLatin1String("sd")).isNull());
        QVERIFY(json.value(QLatin1String("cv_percent")).isNull());
        QCOMPARE(json.value(QLatin1String("mean")).toDouble(), -2.0);

        // Cpk only from limits all the records' methods share.
        const QJsonObject a{{QStringLiteral("limits"), QJsonObject{{peak, QJsonArray{1, 5}}, {work, QJsonArray{0, 9}}}}};
        const QJsonObject b{{QStringLiteral("limits"), QJsonObject{{peak, QJsonArray{1, 5}}, {work, QJsonArray{0, QJsonValue()}}}}};
        const auto common = commonLimits({a, b});
        QCOMPARE(common.keys(), QStringList{peak});
        QCOMPARE(*common.value(peak).upper, 5.0);
    }
};

QTEST_GUILESS_MAIN(RecordFormatTest)
#include "tst_recordformat.moc"
