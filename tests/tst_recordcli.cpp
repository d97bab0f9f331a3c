// quelmar-cli's record commands run as a script would run them, on real SQLite files
// with a few hundred records.

#include "clirun.h"
#include "recordtesting.h"
#include "store/recordappend.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"

#include <QSqlQuery>
#include <QtTest>

#include <ctime>

class RecordCliTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_url;
    QVector<PreparedRecord> m_records;  // as stored, seq = index + 1

private slots:
    void initTestCase()
    {
        // Three hours ahead of UTC all year: a local date is not the UTC date.
        qputenv("TZ", "QLT-3");
        tzset();
        const QString path = m_dir.filePath(QStringLiteral("records.sqlite"));
        m_url = QStringLiteral("sqlite:") + path;
        RecordDatabase db;
        DatabaseUrl url;
        url.engine = DatabaseUrl::Sqlite;
        url.path = path;
        QVERIFY(db.open(url));
        // One every 6 hours from 1 March, local time; three batches, two methods.
        const QDateTime start(QDate(2024, 3, 1), QTime(1, 0), Qt::LocalTime);
        for (int i = 0; i < 300; ++i) {
            m_records.append(madeUpRecord(i, QStringLiteral("B%1").arg(i % 3), i % 2 ? QStringLiteral("Peel") : QStringLiteral("Crush"),
                                          start.addSecs(i * 6 * 3600), 3));
            QCOMPARE(appendRecord(db, m_records.last()).outcome, AppendResult::Stored);
        }
    }

    void listFilters()
    {
        Run run = cli({"list", "--database", m_url, "--batch", "B2", "--method", "Crush", "--since", "2024-04-01", "--json"});
        QCOMPARE(run.status, 0);
        const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
        // From 1 April (day 31, record 124 on), batch B2 and even: i % 6 == 2.
        int expected = 0;
        for (int i = 124; i < 300; ++i)
            expected += i % 6 == 2;
        QCOMPARE(rows.size(), expected);
        const QJsonObject first = rows.at(0).toObject();
        QCOMPARE(first.value("seq").toInt(), 129);  // i = 128
        QCOMPARE(first.value("uuid").toString(), m_records.at(128).uuid);
        QCOMPARE(first.value("sample").toString(), QStringLiteral("S-128"));
        QCOMPARE(first.keys(), (QStringList{"batch", "method", "operator", "recorded_at", "sample", "seq", "uuid", "verdict"}));
        QVERIFY(rows.at(1).toObject().value("seq").toInt() > 129);

        // 1 April 01:00 local is still 31 March in UTC, and it is in.
        run = cli({"list", "--database", m_url, "--since", "2024-04-01", "--json"});
        const QJsonArray since = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(since.size(), 300 - 124);
        QCOMPARE(since.at(0).toObject().value("seq").toInt(), 125);

        run = cli({"list", "--database", m_url, "--since", "2024-13-01"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty() && !run.err.isEmpty());
    }

    void statsOverFilteredRecords()
    {
        const Run run = cli({"stats", "--database", m_url, "--batch", "B1", "--json"});
        QCOMPARE(run.status, 0);
        const QJsonObject out = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(out.value("count").toInt(), 100);
        // peak_force_N = 10 + i over i = 1, 4, ..., 298: mean 159.5, sd of a step-3 series.
        const QJsonObject peak = out.value("results").toObject().value("forward.peak_force_N").toObject();
        QCOMPARE(peak.value("n").toInt(), 100);
        QCOMPARE(peak.value("mean").toDouble(), 159.5);
        QCOMPARE(peak.value("min").toDouble(), 11.0);
        QCOMPARE(peak.value("max").toDouble(), 308.0);
        QVERIFY(qAbs(peak.value("sd").toDouble() - 3 * std::sqrt(100.0 * 101 / 12)) < 1e-9);
        QVERIFY(qAbs(peak.value("cv_percent").toDouble() - 100 * peak.value("sd").toDouble() / 159.5) < 1e-9);

        const Run one = cli({"stats", "--database", m_url, "--since", "2024-05-14", "--batch", "B0", "--json"});
        const QJsonObject single = QJsonDocument::fromJson(one.out).object();
        QCOMPARE(single.value("count").toInt(), 1);  // i = 297 alone
        QVERIFY(single.value("results").toObject().value("forward.peak_force_N").toObject().value("sd").isNull());
    }

    void exportWritesOneRowPerRecord()
    {
        const QString csv = m_dir.filePath(QStringLiteral("out.csv"));
        const Run run = cli({"export", "--database", m_url, "--method", "Peel", "--csv", csv});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.isEmpty());
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 1 + 150 + 1);  // header, rows, nothing after the last CR LF
        QCOMPARE(lines.at(0), QByteArray("seq,uuid,recorded_at,sample,batch,operator,method,verdict,forward.peak_force_N\r"));
        QCOMPARE(lines.at(1), QStringLiteral("2,%1,%2,S-1,B1,ann,Peel,pass,11\r")
                                  .arg(m_records.at(1).uuid, m_records.at(1).recordedAt).toUtf8());
    }

    void verifyFindsTheChangedRecord()
    {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.sqlite"));
        RecordDatabase db;
        DatabaseUrl url;
        url.engine = DatabaseUrl::Sqlite;
        url.path = m_dir.filePath(QStringLiteral("records.sqlite"));
        QVERIFY(db.open(url));
        QVERIFY(QSqlQuery(db.sql()).exec(QStringLiteral("VACUUM INTO '%1'").arg(copy)));

        Run run = cli({"verify", "--database", "sqlite:" + copy});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("300 records, chain intact\n"));

        url.path = copy;
        QVERIFY(db.open(url));
        QVERIFY(QSqlQuery(db.sql()).exec(QStringLiteral("UPDATE test_records SET record = replace(record, '\"S-217\"', '\"S-218\"') WHERE seq = 218")));
        db.close();
        run = cli({"verify", "--database", "sqlite:" + copy});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray("broken at seq 218\n"));
    }

    void importStoresFilesAsRecords()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("t.txt"));
        QFile file(data);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Data Forward:\n0.0,0\n1.0,10\n2.0,4\nData Return:\n0.0,0\n1.0,5\n2.0,3\n");
        file.close();
        const QString url = "sqlite:" + dir.filePath(QStringLiteral("r.sqlite"));
        Run run = cli({"import", data, data, "--database", url, "--sample", "=cmd", "--batch", "L7", "--note", "from the old PC"});
        QCOMPARE(run.status, 0);
        const QList<QByteArray> uuids = run.out.trimmed().split('\n');
        QCOMPARE(uuids.size(), 2);
        QVERIFY(uuids.at(0) != uuids.at(1));

        RecordDatabase db;
        QVERIFY(db.open(parseDatabaseUrl(url).url));
        QVector<TestRecord> records;
        QString error;
        QVERIFY(readRecords(db, RecordFilter(), records, error));
        QCOMPARE(records.size(), 2);
        const TestRecord &record = records.at(0);
        QCOMPARE(record.uuid.toUtf8(), uuids.at(0));
        QCOMPARE(record.record.value("source").toString(), QStringLiteral("file"));
        QCOMPARE(record.record.value("batch").toString(), QStringLiteral("L7"));
        QCOMPARE(record.record.value("note").toString(), QStringLiteral("from the old PC"));
        QCOMPARE(record.back, (QVector<QPointF>{{0, 0}, {1, 5}, {2, 3}}));  // file order
        QCOMPARE(record.record.value("results").toObject().value("forward").toObject().value("peak_force_N").toDouble(), 10.0);

        // The sample that looks like a formula leaves the export as text.
        const QString csv = dir.filePath(QStringLiteral("x.csv"));
        QCOMPARE(cli({"export", "--database", url, "--csv", csv}).status, 0);
        QFile exported(csv);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QVERIFY(exported.readAll().contains(",\"'=cmd\",L7,"));

        // A file that is not test data stores nothing.
        run = cli({"import", data, dir.filePath(QStringLiteral("missing.txt")), "--database", url});
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(readRecords(db, RecordFilter(), records, error));
        QCOMPARE(records.size(), 2);
    }
};

QTEST_GUILESS_MAIN(RecordCliTest)
#include "tst_recordcli.moc"
