#include "recordwriter.h"

#include "recordwriterworker.h"

RecordWriter::RecordWriter(const DatabaseUrl &target, const QString &outboxPath, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_worker(new RecordWriterWorker(target, outboxPath))
{
    m_thread.setObjectName(QStringLiteral("RecordWriter"));
    m_worker->moveToThread(&m_thread);
    connect(m_worker, &RecordWriterWorker::stored, this, &RecordWriter::stored);
    connect(m_worker, &RecordWriterWorker::queued, this, &RecordWriter::queued);
    connect(m_worker, &RecordWriterWorker::failed, this, &RecordWriter::failed);
    connect(m_worker, &RecordWriterWorker::waitingChanged, this, &RecordWriter::updateWaiting);
    connect(m_worker, &RecordWriterWorker::stateChanged, this, &RecordWriter::updateState);
    m_thread.start();
    QMetaObject::invokeMethod(m_worker, &RecordWriterWorker::start, Qt::QueuedConnection);
}

RecordWriter::~RecordWriter()
{
    // The worker's connections belong to its thread, so it is deleted there.
    RecordWriterWorker *worker = m_worker;
    worker->stopSoon();
    QMetaObject::invokeMethod(worker, [worker] { delete worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void RecordWriter::submit(const PreparedRecord &record)
{
    m_worker->handOver(record);
}

void RecordWriter::retryNow()
{
    m_worker->flushSoon();
}

void RecordWriter::setRetryInterval(int milliseconds)
{
    m_worker->setRetryInterval(milliseconds);
}

void RecordWriter::updateState(int state, const QString &message)
{
    if (state == m_state && message == m_message)
        return;
    m_state = State(state);
    m_message = message;
    emit stateChanged(m_state, m_message);
}

void RecordWriter::updateWaiting(int count)
{
    m_waiting = count;
    emit waitingChanged(count);
}
