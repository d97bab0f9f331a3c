#include "records/recordloader.h"

#include "store/recorddatabase.h"

// Lives in the loader's thread: the connection belongs to it.
class RecordLoaderWorker : public QObject
{
public:
    // Opens `url` unless it is open already. A failed query closes it, so the next
    // request connects anew (a server may be back).
    bool open(const DatabaseUrl &url, QString &error)
    {
        if (db.isOpen() && db.url().toDisplayString() == url.toDisplayString())
            return true;
        if (db.open(url))
            return true;
        error = db.error();
        return false;
    }

    template<typename Query>
    void run(const DatabaseUrl &url, Query query, QString &error)
    {
        if (open(url, error) && !query(db))
            db.close();
    }

private:
    RecordDatabase db;
};

RecordLoader::RecordLoader(QObject *parent)
    : QObject(parent)
    , worker(new RecordLoaderWorker)
{
    thread.setObjectName(QStringLiteral("RecordLoader"));
    worker->moveToThread(&thread);
    thread.start();
}

RecordLoader::~RecordLoader()
{
    RecordLoaderWorker *worker = this->worker;
    QMetaObject::invokeMethod(worker, [worker] { delete worker; }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
}

void RecordLoader::setDatabase(const DatabaseUrl &url)
{
    this->url = url;
}

template<typename Rows, typename Query, typename Answer>
int RecordLoader::ask(Query query, Answer answer)
{
    const int request = ++lastRequest;
    const DatabaseUrl url = this->url;
    RecordLoaderWorker *worker = this->worker;
    QMetaObject::invokeMethod(
        worker,
        [=] {
            Rows rows;
            QString error;
            worker->run(url, [&](RecordDatabase &db) { return query(db, rows, error); }, error);
            QMetaObject::invokeMethod(this, [=] { answer(request, rows, error); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return request;
}

int RecordLoader::list(const RecordFilter &filter)
{
    return ask<QVector<RecordSummary>>(
        [filter](RecordDatabase &db, QVector<RecordSummary> &rows, QString &error) {
            return listRecords(db, filter, rows, error);
        },
        [this](int request, const QVector<RecordSummary> &rows, const QString &error) {
            emit listed(request, rows, error);
        });
}

int RecordLoader::read(const RecordFilter &filter)
{
    return ask<QVector<TestRecord>>(
        [filter](RecordDatabase &db, QVector<TestRecord> &records, QString &error) {
            return readRecords(db, filter, records, error);
        },
        [this](int request, const QVector<TestRecord> &records, const QString &error) {
            emit recordsRead(request, records, error);
        });
}

int RecordLoader::methods(const RecordFilter &filter)
{
    return ask<QVector<QJsonObject>>(
        [filter](RecordDatabase &db, QVector<QJsonObject> &methods, QString &error) {
            return listMethods(db, filter, methods, error);
        },
        [this](int request, const QVector<QJsonObject> &methods, const QString &error) {
            emit methodsListed(request, methods, error);
        });
}
