#pragma once

#include <QLabel>

#include "store/recordwriter.h"

// The status bar's word on records: how many wait for the lab server, or why records
// are off. Silent while records are kept as they should be.
class RecordsStatusLabel : public QLabel
{
    Q_OBJECT

public:
    explicit RecordsStatusLabel(QWidget *parent = nullptr);

public slots:
    void showState(RecordWriter::State state, const QString &message);
    void showWaiting(int count);

private:
    void refresh();

    RecordWriter::State state = RecordWriter::Starting;
    QString message;
    int waiting = 0;
};
