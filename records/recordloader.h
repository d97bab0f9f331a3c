#pragma once

#include <QObject>
#include <QThread>

#include "store/databaseurl.h"
#include "store/recordquery.h"

class RecordLoaderWorker;

// Reads records for the windows that look back, in a thread of its own with its own
// connection, so that neither a slow server nor a long list holds up the window (or
// the chart of a running test). Each request returns a number at once; its answer
// comes by signal with that number, in the order the requests were made.
class RecordLoader : public QObject
{
    Q_OBJECT

public:
    explicit RecordLoader(QObject *parent = nullptr);
    // Waits for the request in hand.
    ~RecordLoader() override;

    // Requests made from now on read `url`.
    void setDatabase(const DatabaseUrl &url);
    DatabaseUrl database() const { return url; }

    int list(const RecordFilter &filter);
    int read(const RecordFilter &filter);
    int methods(const RecordFilter &filter);

signals:
    void listed(int request, const QVector<RecordSummary> &rows, const QString &error);
    void recordsRead(int request, const QVector<TestRecord> &records, const QString &error);
    void methodsListed(int request, const QVector<QJsonObject> &methods, const QString &error);

private:
    // Runs `query` in the worker's thread and hands its rows to `answer` in this
    // object's thread (dropped if this object is gone by then).
    template<typename Rows, typename Query, typename Answer>
    int ask(Query query, Answer answer);

    QThread thread;
    RecordLoaderWorker *worker;
    DatabaseUrl url;
    int lastRequest = 0;
};
