#include "report/chartrecord.h"

ChartRecord::ChartRecord(QObject *parent)
    : QObject(parent)
{
    connect(&loader, &RecordLoader::recordsRead, this, &ChartRecord::receive);
}

void ChartRecord::setDatabase(const DatabaseUrl &url)
{
    loader.setDatabase(url);
}

void ChartRecord::testRecorded(const QString &uuid)
{
    record.reset();
    pendingUuid = uuid;
}

void ChartRecord::show(const TestRecord &shown)
{
    record = shown;
    pendingUuid.clear();
}

void ChartRecord::forget()
{
    record.reset();
    pendingUuid.clear();
}

void ChartRecord::withRecord(const Use &use, const Refusal &refuse)
{
    if (record) {
        use(*record);
        return;
    }
    if (pendingUuid.isEmpty()) {
        refuse(tr("The chart shows no stored test. Run a test with records on, or open a record from the "
                  "history."));
        return;
    }
    waitingUse = use;
    waitingRefusal = refuse;
    RecordFilter filter;
    filter.uuids = QStringList{pendingUuid};
    request = loader.read(filter);
}

void ChartRecord::receive(int answered, const QVector<TestRecord> &records, const QString &error)
{
    if (answered != request || !waitingUse)
        return;
    const Use use = std::exchange(waitingUse, nullptr);
    const Refusal refuse = std::exchange(waitingRefusal, nullptr);
    if (!error.isEmpty()) {
        refuse(tr("The test's record cannot be read: %1").arg(error));
    } else if (records.isEmpty() || records.first().uuid != pendingUuid) {
        refuse(tr("The test's record is not stored yet; it waits for the records database."));
    } else {
        record = records.first();
        use(*record);
    }
}
