#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "records/recordloader.h"

// Which stored test the window's chart shows, for the reports and the curve CSV: the
// record the last test was stored as, or the record opened from the history. A
// test's record is read back from the database when it is first asked for, so that
// what is printed is what was stored, with its hash and place in the chain. Reads go
// through a RecordLoader: the window never waits for the database.
class ChartRecord : public QObject
{
    Q_OBJECT

public:
    explicit ChartRecord(QObject *parent = nullptr);

    void setDatabase(const DatabaseUrl &url);

    // The chart's test is being stored under `uuid`.
    void testRecorded(const QString &uuid);
    // The chart shows this record.
    void show(const TestRecord &record);
    // The chart holds something else: a data file, nothing, a test not stored.
    void forget();

    using Use = std::function<void(const TestRecord &record)>;
    using Refusal = std::function<void(const QString &why)>;
    // Calls `use` with the record once it is at hand (at once when it is), or
    // `refuse` with the reason there is none. A later call replaces an earlier one
    // still waiting for the database.
    void withRecord(const Use &use, const Refusal &refuse);

private:
    void receive(int request, const QVector<TestRecord> &records, const QString &error);

    RecordLoader loader;
    std::optional<TestRecord> record;
    QString pendingUuid;
    int request = 0;
    Use waitingUse;
    Refusal waitingRefusal;
};
