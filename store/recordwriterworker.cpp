#include "recordwriterworker.h"

#include "recordappend.h"
#include "recordwriter.h"

RecordWriterWorker::RecordWriterWorker(const DatabaseUrl &target, const QString &outboxPath)
    : m_target(target)
    , m_retry(this)
{
    if (target.engine == DatabaseUrl::Postgres && !outboxPath.isEmpty()) {
        m_outboxUrl.engine = DatabaseUrl::Sqlite;
        m_outboxUrl.path = outboxPath;
    }
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &RecordWriterWorker::flush);
    // Calls from the owner's thread arrive as queued signals through connections made
    // here, before the thread starts: nothing a call carries crosses unguarded.
    connect(this, &RecordWriterWorker::handedOver, this, &RecordWriterWorker::takeHandedOver, Qt::QueuedConnection);
    connect(this, &RecordWriterWorker::flushAsked, this, &RecordWriterWorker::flush, Qt::QueuedConnection);
}

void RecordWriterWorker::handOver(const PreparedRecord &record)
{
    {
        QMutexLocker lock(&m_handOverLock);
        m_handedOver.append(record);
    }
    emit handedOver();
}

void RecordWriterWorker::takeHandedOver()
{
    QVector<PreparedRecord> records;
    {
        QMutexLocker lock(&m_handOverLock);
        records.swap(m_handedOver);
    }
    for (const PreparedRecord &record : records)
        submit(record);
}

void RecordWriterWorker::start()
{
    if (toServer() && m_outboxUrl.isValid() && !openOutbox())
        emit failed(QString(), m_outbox.error());
    openTarget();
    flush();
}

bool RecordWriterWorker::openTarget()
{
    if (m_db.isOpen())
        return true;
    if (m_db.open(m_target)) {
        emit stateChanged(RecordWriter::Ready, QString());
        return true;
    }
    const bool waiting = toServer() && !m_db.refused();
    emit stateChanged(waiting ? RecordWriter::Waiting : RecordWriter::Off, m_db.error());
    return false;
}

bool RecordWriterWorker::openOutbox()
{
    return m_outboxUrl.isValid() && (m_outbox.isOpen() || m_outbox.open(m_outboxUrl));
}

bool RecordWriterWorker::appendHere(RecordDatabase &db, const PreparedRecord &record, QString &error)
{
    const AppendResult result = appendRecord(db, record);
    if (result.outcome == AppendResult::Failed) {
        error = result.error;
        // A broken connection stays broken in Qt; the next attempt connects anew.
        db.close();
        emit stateChanged(toServer() ? RecordWriter::Waiting : RecordWriter::Off, error);
        return false;
    }
    emit stored(record.uuid, result.seq);
    return true;
}

void RecordWriterWorker::holdInMemory(const PreparedRecord &record, const QString &message)
{
    m_unsaved.append(record);
    emit failed(record.uuid, message);
}

void RecordWriterWorker::submit(const PreparedRecord &record)
{
    QString error;
    if (!toServer()) {
        if (!openTarget())
            holdInMemory(record, m_db.error());
        else if (!appendHere(m_db, record, error))
            holdInMemory(record, error);
    } else if (openOutbox() && addToOutbox(m_outbox, record, error)) {
        // Oldest first: when anything is left, this record (the newest) is too.
        if (!flushOutboxAll())
            emit queued(record.uuid);
    } else {
        if (m_outboxUrl.isValid() && error.isEmpty())
            error = m_outbox.error();
        if (!openTarget() || !appendHere(m_db, record, error))
            holdInMemory(record, error.isEmpty() ? m_db.error() : error);
    }
    reportWaiting();
}

void RecordWriterWorker::flush()
{
    QVector<PreparedRecord> held;
    held.swap(m_unsaved);
    for (const PreparedRecord &record : held) {
        QString error;
        const bool kept = toServer() ? openOutbox() && addToOutbox(m_outbox, record, error)
                                     : openTarget() && appendHere(m_db, record, error);
        if (!kept)
            m_unsaved.append(record);
    }
    if (toServer())
        flushOutboxAll();
    reportWaiting();
}

bool RecordWriterWorker::flushOutboxAll()
{
    if (!openOutbox())
        return !m_outboxUrl.isValid();
    for (;;) {
        QVector<PreparedRecord> batch;
        QString error;
        if (!outboxRecords(m_outbox, 100, batch, error)) {
            m_outbox.close();
            return false;
        }
        if (batch.isEmpty())
            return true;
        if (!openTarget())
            return false;
        for (const PreparedRecord &record : batch) {
            if (m_stopping || !appendHere(m_db, record, error))
                return false;
            if (!removeFromOutbox(m_outbox, record.uuid, error)) {
                // Stored on the server; sending it again later finds it there.
                m_outbox.close();
                return false;
            }
        }
    }
}

void RecordWriterWorker::reportWaiting()
{
    int count = m_unsaved.size();
    if (toServer() && m_outbox.isOpen())
        count += qMax(0, outboxCount(m_outbox));
    if (count > 0)
        m_retry.start(m_retryIntervalMs);
    if (count != m_lastWaiting) {
        m_lastWaiting = count;
        emit waitingChanged(count);
    }
}
