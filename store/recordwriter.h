#pragma once

// Stores records without holding up the caller: a worker in its own thread with its
// own connections does all database work, and reports back by queued signals.
//
// To a local SQLite file a record is appended directly. To a server it is first put
// into the outbox of a local SQLite file, then sent, then taken out of the outbox, so
// a test whose end was seen is always in one of the two, whenever the program, the
// network or the server stops. Records the server could not take are sent again
// every retryInterval, oldest first; each gets the server's next chain position when
// it arrives. A uuid the server already has is not stored again.

#include "databaseurl.h"
#include "recordformat.h"

#include <QObject>
#include <QThread>

class RecordWriterWorker;

class RecordWriter : public QObject
{
    Q_OBJECT

public:
    enum State {
        Starting,     // not opened yet
        Ready,        // the database takes records
        Waiting,      // the server cannot be reached; records wait in the outbox
        Off,          // records cannot be kept (refused or unusable database); see message
    };
    Q_ENUM(State)

    // `outboxPath` is the local SQLite file for records waiting for a server; it is
    // not used when `target` is itself a SQLite file.
    explicit RecordWriter(const DatabaseUrl &target, const QString &outboxPath = QString(),
                          QObject *parent = nullptr);
    // Finishes the record in hand (a server attempt gives up after the connect
    // timeout), then stops the thread.
    ~RecordWriter() override;

    // Returns at once; one of stored(), queued() or failed() follows for its uuid.
    void submit(const PreparedRecord &record);
    // Tries the waiting records now instead of at the next retry.
    void retryNow();
    void setRetryInterval(int milliseconds);

    State state() const { return m_state; }
    QString message() const { return m_message; }
    int waitingCount() const { return m_waiting; }
    DatabaseUrl target() const { return m_target; }

signals:
    void stored(const QString &uuid, qint64 seq);
    // Kept in the local outbox; it is sent when the server is back.
    void queued(const QString &uuid);
    // Neither stored nor queued: held in memory and tried again, lost if the program
    // ends before that succeeds. `message` says why.
    void failed(const QString &uuid, const QString &message);
    void waitingChanged(int count);
    void stateChanged(RecordWriter::State state, const QString &message);

private:
    void updateState(int state, const QString &message);
    void updateWaiting(int count);

    DatabaseUrl m_target;
    QThread m_thread;
    RecordWriterWorker *m_worker = nullptr;
    State m_state = Starting;
    QString m_message;
    int m_waiting = 0;
};
