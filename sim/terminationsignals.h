#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal delivered by the event loop. The
// handler only writes a byte to a pipe, which is all a signal handler may safely
// do; the loop reads it. One instance per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up.
    bool isWatching() const { return notifier != nullptr; }

signals:
    void received();

private:
    void drain();

    QSocketNotifier *notifier = nullptr;
};
