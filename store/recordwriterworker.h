#pragma once

// The database side of RecordWriter; lives in the writer's thread.

#include "recorddatabase.h"
#include "recordformat.h"

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
    void submit(const PreparedRecord &record);
    void flush();
    void setRetryInterval(int milliseconds) { m_retry.setInterval(milliseconds); }
    // Called from the owner's thread: a long send of waiting records ends after the
    // record in hand; the rest stay in the outbox for the next start.
    void stopSoon() { m_stopping = true; }

signals:
    void stored(const QString &uuid, qint64 seq);
    void queued(const QString &uuid);
    void failed(const QString &uuid, const QString &message);
    void waitingChanged(int count);
    void stateChanged(int state, const QString &message);

private:
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
};
