#pragma once

// The database side of RecordWriter; lives in the writer's thread.

#include "recorddatabase.h"
#include "recordformat.h"

#include <QMutex>
#include <QObject>
#include <QTimer>
#include <QVector>
#include <atomic>

class RecordWriterWorker : public QObject
{
    Q_OBJECT

public:
    RecordWriterWorker(const DatabaseUrl &target, const QString &outboxPath);

    void start();
    // Called from the owner's thread: the record crosses to the worker's thread
    // through a locked queue, never inside a queued call's captured copy, so every
    // byte of it is handed over under a lock that ThreadSanitizer sees too.
    void handOver(const PreparedRecord &record);
    void flush();
    // Called from the owner's thread, like handOver() and stopSoon().
    void setRetryInterval(int milliseconds) { m_retryIntervalMs = milliseconds; }
    void flushSoon() { emit flushAsked(); }
    // Called from the owner's thread: a long send of waiting records ends after the
    // record in hand; the rest stay in the outbox for the next start.
    void stopSoon() { m_stopping = true; }

signals:
    void handedOver();  // to the worker itself, queued
    void flushAsked();  // likewise
    void stored(const QString &uuid, qint64 seq);
    void queued(const QString &uuid);
    void failed(const QString &uuid, const QString &message);
    void waitingChanged(int count);
    void stateChanged(int state, const QString &message);

private:
    void takeHandedOver();
    void submit(const PreparedRecord &record);
    bool toServer() const { return m_target.engine == DatabaseUrl::Postgres; }
    bool openTarget();
    bool openOutbox();
    bool appendHere(RecordDatabase &db, const PreparedRecord &record, QString &error);
    void holdInMemory(const PreparedRecord &record, const QString &message);
    void flushMemory();
    bool flushOutboxAll();  // true when the outbox is empty afterwards
    void reportWaiting();

    DatabaseUrl m_target;
    DatabaseUrl m_outboxUrl;
    RecordDatabase m_db;
    RecordDatabase m_outbox;
    QVector<PreparedRecord> m_unsaved;  // neither stored nor in the outbox yet
    QTimer m_retry;
    int m_lastWaiting = -1;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_retryIntervalMs{10000};
    QMutex m_handOverLock;
    QVector<PreparedRecord> m_handedOver;  // guarded by m_handOverLock
};
