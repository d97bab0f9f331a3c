// The records database on real SQLite files: the schema and what is refused, the
// chain and its break, filters, the writer thread, and a writer killed mid-stream.

#include "recordtesting.h"
#include "store/recordappend.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"
#include "store/recordwriter.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include <sys/stat.h>

namespace {

DatabaseUrl sqliteUrl(const QString &path)
{
    DatabaseUrl url;
    url.engine = DatabaseUrl::Sqlite;
    url.path = path;
    return url;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int modeOf(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

QString scalar(RecordDatabase &db, const QString &sql)
{
    QSqlQuery query(db.sql());
    return query.exec(sql) && query.next() ? query.value(0).toString() : QStringLiteral("<error>");
}

// Run as a child: appends records until killed, printing each seq once committed.
int writeUntilKilled(const QString &path)
{
    RecordDatabase db;
    if (!db.open(sqliteUrl(path)))
        return 2;
    for (int i = 0;; ++i) {
        const AppendResult result = appendRecord(db, madeUpRecord(i, QStringLiteral("B1"), QStringLiteral("Peel"),
                                                                  QDateTime(), 5000));
        if (result.outcome != AppendResult::Stored)
            return 3;
        printf("%lld\n", result.seq);
        fflush(stdout);
    }
}

} // namespace

class RecordStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void newFileIsTheOwnersAndWal()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/records.sqlite"));
        RecordDatabase db;
        QVERIFY2(db.open(sqliteUrl(path)), qPrintable(db.error()));
        QCOMPARE(appendRecord(db, madeUpRecord(1)).outcome, AppendResult::Stored);
        QCOMPARE(scalar(db, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT version FROM schema_version")), QStringLiteral("1"));
        QCOMPARE(modeOf(path), 0600);
        QCOMPARE(modeOf(path + QStringLiteral("-wal")), 0600);
        QCOMPARE(modeOf(path + QStringLiteral("-shm")), 0600);
        db.close();
        // Opened again, the schema is taken as it is.
        QVERIFY(db.open(sqliteUrl(path)));
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM test_records")), QStringLiteral("1"));
    }

    void refusesForeignAndNewerFiles_data()
    {
        QTest::addColumn<QStringList>("setup");  // empty: a text file
        QTest::addColumn<QString>("reason");
        QTest::newRow("text file") << QStringList() << "not a Quelmar";
        QTest::newRow("other program's database")
            << QStringList{QStringLiteral("CREATE TABLE notes (t text)"), QStringLiteral("INSERT INTO notes VALUES ('x')")}
            << "not a Quelmar";
        QTest::newRow("version table alone")
            << QStringList{QStringLiteral("CREATE TABLE schema_version (version integer)"),
                           QStringLiteral("INSERT INTO schema_version VALUES (1)")}
            << "not a Quelmar";
        QTest::newRow("newer schema")
            << QStringList{QStringLiteral("CREATE TABLE schema_version (version integer)"),
                           QStringLiteral("INSERT INTO schema_version VALUES (7)"),
                           QStringLiteral("CREATE TABLE test_records (seq integer)")}
            << "newer";
    }

    void refusesForeignAndNewerFiles()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.sqlite"));
        if (setup.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Data Forward:\n1.0,2.0\n");
        } else {
            QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            sql.setDatabaseName(path);
            QVERIFY(sql.open());
            for (const QString &statement : setup)
                QVERIFY(QSqlQuery(sql).exec(statement));
            sql.close();
            sql = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("setup"));
        }
        const QByteArray before = fileBytes(path);
        RecordDatabase db;
        QVERIFY(!db.open(sqliteUrl(path)));
        QVERIFY(db.refused());
        QVERIFY2(db.error().contains(reason) && db.error().contains(path), qPrintable(db.error()));
        QVERIFY(!db.isOpen());
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")) || fileBytes(path + QStringLiteral("-wal")).isEmpty());
    }

    void chainShowsAnyChange()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.sqlite"));
        RecordDatabase db;
        QVERIFY(db.open(sqliteUrl(path)));
        QVector<PreparedRecord> written;
        for (int i = 1; i <= 5; ++i) {
            written.append(madeUpRecord(i, QStringLiteral("B1"), QStringLiteral("Peel"), QDateTime(), i == 5 ? 0 : 100));
            const AppendResult result = appendRecord(db, written.last());
            QCOMPARE(result.outcome, AppendResult::Stored);
            QCOMPARE(result.seq, qint64(i));
        }
        // The same uuid again is not a second record.
        const AppendResult again = appendRecord(db, written.at(1));
        QCOMPARE(again.outcome, AppendResult::AlreadyStored);
        QCOMPARE(again.seq, qint64(2));

        ChainCheck check = verifyChain(db);
        QVERIFY(check.intact);
        QCOMPARE(check.count, qint64(5));

        QVector<TestRecord> records;
        QString error;
        QVERIFY(readRecords(db, RecordFilter(), records, error));
        QCOMPARE(records.size(), 5);
        QCOMPARE(records.at(0).prevHash, QString());
        QCOMPARE(records.at(3).prevHash, records.at(2).hash);
        QCOMPARE(records.at(2).uuid, written.at(2).uuid);
        QCOMPARE(records.at(2).record.value(QLatin1String("sample")).toString(), QStringLiteral("S-3"));
        QCOMPARE(records.at(2).forward.size(), 100);
        QCOMPARE(records.at(2).back.at(99), QPointF(0.1f, 3 - 99 * 0.25));

        // One byte changed with plain SQL, in the JSON, in the points, in a column.
        QSqlQuery(db.sql()).exec(QStringLiteral("UPDATE test_records SET record = replace(record, 'S-4', 'S-5') WHERE seq = 4"));
        QCOMPARE(verifyChain(db).brokenAt, qint64(4));
        QSqlQuery(db.sql()).exec(QStringLiteral("UPDATE test_records SET forward = zeroblob(800) WHERE seq = 2"));
        QCOMPARE(verifyChain(db).brokenAt, qint64(2));
        QSqlQuery(db.sql()).exec(QStringLiteral("UPDATE test_records SET batch = 'B9' WHERE seq = 1"));
        check = verifyChain(db);
        QCOMPARE(check.brokenAt, qint64(1));
        QVERIFY(!check.intact);
    }

    void filtersBindEveryValue()
    {
        QTemporaryDir dir;
        RecordDatabase db;
        QVERIFY(db.open(sqliteUrl(dir.filePath(QStringLiteral("r.sqlite")))));
        const QDateTime start(QDate(2024, 5, 1), QTime(0, 30), Qt::LocalTime);
        QVector<PreparedRecord> all;
        for (int i = 0; i < 300; ++i) {
            // Three batches, two methods, one record every 4 hours from 1 May.
            all.append(madeUpRecord(i, QStringLiteral("B%1").arg(i % 3), i % 2 ? QStringLiteral("Peel") : QStringLiteral("Crush"),
                                    start.addSecs(i * 4 * 3600), 2));
        }
        // Values that would change a statement built from text.
        RecordInput odd;
        odd.sample = QStringLiteral("50%_off' OR '1'='1");
        odd.note = QStringLiteral("Ünïcode note");
        odd.batch = QStringLiteral("B1");
        all.append(buildRecord(odd));
        for (const PreparedRecord &record : all)
            QCOMPARE(appendRecord(db, record).outcome, AppendResult::Stored);

        const auto count = [&](const RecordFilter &filter) {
            QVector<RecordSummary> rows;
            QString error;
            if (!listRecords(db, filter, rows, error))
                qWarning() << error;
            for (int i = 1; i < rows.size(); ++i)
                if (rows.at(i).seq <= rows.at(i - 1).seq)
                    return -1;
            return rows.size();
        };
        const auto expected = [&](const std::function<bool(const PreparedRecord &)> &keep) {
            return int(std::count_if(all.cbegin(), all.cend(), keep));
        };
        RecordFilter filter;
        QCOMPARE(count(filter), 301);
        filter.batch = QStringLiteral("B1");
        filter.method = QStringLiteral("Peel");
        filter.verdict = QStringLiteral("fail");
        QCOMPARE(count(filter), expected([](const PreparedRecord &r) {
                     return r.batch == QLatin1String("B1") && r.method == QLatin1String("Peel") && r.verdict == QLatin1String("fail");
                 }));
        // Local dates, both ends inclusive: 2 May to 4 May is 3 days of 6 records.
        filter = RecordFilter();
        filter.since = QDate(2024, 5, 2);
        filter.until = QDate(2024, 5, 4);
        QCOMPARE(count(filter), 18);
        filter = RecordFilter();
        filter.search = QStringLiteral("%_OFF'");
        QCOMPARE(count(filter), 1);
        filter.search = QStringLiteral("Ünïcode");
        QCOMPARE(count(filter), 1);
        filter.search = QStringLiteral("s-29");
        QCOMPARE(count(filter), 11);  // S-29, S-290 ... S-299
        filter = RecordFilter();
        filter.uuids = QStringList{all.at(7).uuid, all.at(3).uuid};
        QVector<TestRecord> records;
        QString error;
        QVERIFY(readRecords(db, filter, records, error));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).uuid, all.at(3).uuid);
    }

    void writerThreadStoresAndReports()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.sqlite"));
        {
            RecordWriter writer(sqliteUrl(path));
            QSignalSpy stored(&writer, &RecordWriter::stored);
            const PreparedRecord first = madeUpRecord(1), second = madeUpRecord(2);
            writer.submit(first);
            writer.submit(second);
            QTRY_COMPARE(stored.count(), 2);
            QCOMPARE(stored.at(0).at(0).toString(), first.uuid);
            QCOMPARE(stored.at(1).at(1).toLongLong(), qint64(2));
            QCOMPARE(writer.state(), RecordWriter::Ready);
        }
        // A file that is not ours switches records off, with the reason.
        const QString foreign = dir.filePath(QStringLiteral("foreign.txt"));
        QFile file(foreign);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("hello") == 5);
        file.close();
        RecordWriter writer(sqliteUrl(foreign));
        QSignalSpy failed(&writer, &RecordWriter::failed);
        writer.submit(madeUpRecord(3));
        QTRY_COMPARE(failed.count(), 1);
        QCOMPARE(writer.state(), RecordWriter::Off);
        QVERIFY(writer.message().contains(QLatin1String("not a Quelmar")));
        QCOMPARE(fileBytes(foreign), QByteArray("hello"));

        // A folder that cannot be made yet: the record is held and stored once it can.
        const QString blocker = dir.filePath(QStringLiteral("blocker"));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        RecordWriter later(sqliteUrl(blocker + QStringLiteral("/records.sqlite")));
        QSignalSpy laterFailed(&later, &RecordWriter::failed);
        QSignalSpy laterStored(&later, &RecordWriter::stored);
        later.submit(madeUpRecord(4));
        QTRY_COMPARE(laterFailed.count(), 1);
        QCOMPARE(later.waitingCount(), 1);
        QVERIFY(QFile::remove(blocker));
        later.retryNow();
        QTRY_COMPARE(laterStored.count(), 1);
        QCOMPARE(later.waitingCount(), 0);
    }

    void killedWriterLeavesEveryFinishedRecord()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.sqlite"));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--write-until-killed"), path});
        qint64 lastSeq = 0;
        while (lastSeq < 40 && child.waitForReadyRead(20000)) {
            while (child.canReadLine())
                lastSeq = child.readLine().trimmed().toLongLong();
        }
        QVERIFY2(lastSeq >= 40, child.readAllStandardError().constData());
        child.kill();
        QVERIFY(child.waitForFinished());
        while (child.canReadLine())
            lastSeq = child.readLine().trimmed().toLongLong();

        RecordDatabase db;
        QVERIFY2(db.open(sqliteUrl(path)), qPrintable(db.error()));
        QCOMPARE(scalar(db, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        const ChainCheck check = verifyChain(db);
        QVERIFY(check.intact);
        QVERIFY2(check.count >= lastSeq, qPrintable(QStringLiteral("%1 < %2").arg(check.count).arg(lastSeq)));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--write-until-killed") == 0)
        return writeUntilKilled(QString::fromLocal8Bit(argv[2]));
    RecordStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recordstore.moc"
