// The records database on a PostgreSQL server of the test's own: passwords left to
// libpq, two stations writing at once, and the server going away and coming back.

#include "recordtesting.h"
#include "throwawaypostgres.h"
#include "store/recordappend.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"
#include "store/recordwriter.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

class RecordServerTest : public QObject
{
    Q_OBJECT

    ThrowawayPostgres m_server;

    qint64 serverCount()
    {
        RecordDatabase db;
        if (!db.open(m_server.url()))
            return -1;
        QSqlQuery query(db.sql());
        return query.exec(QStringLiteral("SELECT count(*) FROM test_records")) && query.next()
                   ? query.value(0).toLongLong() : -1;
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(error), qPrintable(error));
        qputenv("PGPASSWORD", ThrowawayPostgres::Password);
    }

    void passwordComesFromLibpqAndSchemaIsChecked()
    {
        qunsetenv("PGPASSWORD");
        RecordDatabase db;
        QVERIFY(!db.open(m_server.url()));
        QVERIFY(!db.refused());
        QVERIFY2(db.error().contains(QLatin1String("password")), qPrintable(db.error()));
        qputenv("PGPASSWORD", ThrowawayPostgres::Password);
        QVERIFY2(db.open(m_server.url()), qPrintable(db.error()));

        QVERIFY(QSqlQuery(db.sql()).exec(QStringLiteral("UPDATE schema_version SET version = 99")));
        RecordDatabase newer;
        QVERIFY(!newer.open(m_server.url()));
        QVERIFY(newer.refused());
        QVERIFY2(newer.error().contains(QLatin1String("newer")), qPrintable(newer.error()));
        QVERIFY(QSqlQuery(db.sql()).exec(QStringLiteral("UPDATE schema_version SET version = 1")));
    }

    void twoStationsKeepOneChain()
    {
        const qint64 before = serverCount();
        QVERIFY(before >= 0);
        const DatabaseUrl url = m_server.url();
        std::atomic<int> stored{0};
        const auto station = [&url, &stored](int offset) {
            RecordDatabase db;
            if (!db.open(url))
                return;
            for (int i = 0; i < 200; ++i)
                if (appendRecord(db, madeUpRecord(offset + i, QStringLiteral("B"), QStringLiteral("Peel"), QDateTime(), 20))
                        .outcome == AppendResult::Stored)
                    ++stored;
        };
        QThread *a = QThread::create(station, 0);
        QThread *b = QThread::create(station, 1000);
        a->start();
        b->start();
        QVERIFY(a->wait(120000) && b->wait(120000));
        delete a;
        delete b;
        QCOMPARE(stored.load(), 400);

        RecordDatabase db;
        QVERIFY(db.open(url));
        const ChainCheck check = verifyChain(db);
        QVERIFY2(check.intact, qPrintable(QStringLiteral("broken at %1 %2").arg(check.brokenAt).arg(check.error)));
        QCOMPARE(check.count, before + 400);
        QSqlQuery query(db.sql());
        QVERIFY(query.exec(QStringLiteral("SELECT min(seq), max(seq) FROM test_records")) && query.next());
        QCOMPARE(query.value(0).toLongLong(), qint64(1));
        QCOMPARE(query.value(1).toLongLong(), before + 400);

        // The server's own filter fragments: a search in any case, and today.
        QVector<RecordSummary> rows;
        QString error;
        RecordFilter filter;
        filter.search = QStringLiteral("s-1005");
        filter.since = QDate::currentDate();
        QVERIFY2(listRecords(db, filter, rows, error), qPrintable(error));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.at(0).sample, QStringLiteral("S-1005"));
        QCOMPARE(rows.at(0).results().value(QLatin1String("verdict")).toString(), QStringLiteral("fail"));  // 1005 is a multiple of 3
    }

    void serverAwayAndBack()
    {
        QTemporaryDir dir;
        const QString outbox = dir.filePath(QStringLiteral("records.sqlite"));
        const qint64 before = serverCount();
        const PreparedRecord first = madeUpRecord(1), second = madeUpRecord(2);
        {
            RecordWriter writer(m_server.url(), outbox);
            QSignalSpy stored(&writer, &RecordWriter::stored);
            QSignalSpy queued(&writer, &RecordWriter::queued);
            writer.submit(first);
            QTRY_COMPARE(stored.count(), 1);

            QVERIFY(m_server.stop());
            writer.submit(second);
            QTRY_COMPARE(queued.count(), 1);
            QCOMPARE(queued.at(0).at(0).toString(), second.uuid);
            QCOMPARE(writer.waitingCount(), 1);
            QCOMPARE(writer.state(), RecordWriter::Waiting);
        }
        // The program was closed meanwhile; the record waits in its local file.
        QString error;
        QVERIFY2(m_server.start(error), qPrintable(error));
        RecordWriter writer(m_server.url(), outbox);
        writer.setRetryInterval(100);
        QSignalSpy stored(&writer, &RecordWriter::stored);
        QTRY_COMPARE(stored.count(), 1);
        QCOMPARE(stored.at(0).at(0).toString(), second.uuid);
        QTRY_COMPARE(writer.waitingCount(), 0);
        QCOMPARE(serverCount(), before + 2);

        // Sent once more, as after a stop between the server's commit and the outbox's
        // delete: found on the server by uuid, not stored twice.
        {
            RecordDatabase local;
            DatabaseUrl url;
            url.engine = DatabaseUrl::Sqlite;
            url.path = outbox;
            QVERIFY(local.open(url));
            QVERIFY(addToOutbox(local, second, error));
        }
        writer.retryNow();
        QTRY_COMPARE(stored.count(), 2);
        QTRY_COMPARE(writer.waitingCount(), 0);
        QCOMPARE(serverCount(), before + 2);

        // On the server it has the server's chain position, and the same record.
        RecordDatabase db;
        QVERIFY(db.open(m_server.url()));
        QVERIFY(verifyChain(db).intact);
        QVector<TestRecord> records;
        RecordFilter filter;
        filter.uuids = QStringList{second.uuid};
        QVERIFY(readRecords(db, filter, records, error));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).seq, before + 2);
        QCOMPARE(QJsonDocument(records.at(0).record).toJson(QJsonDocument::Compact), second.record);
    }
};

QTEST_GUILESS_MAIN(RecordServerTest)
#include "tst_recordserver.moc"
