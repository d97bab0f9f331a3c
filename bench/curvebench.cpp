// How fast the main window takes in curve points: a second thread emits points
// through the same queued connection the acquisition thread uses, into the real
// window, with the chart already holding 0, 100 000 and 1 000 000 points.
//
// For each size it prints
//  - capacity: points absorbed per second when 200 000 points are emitted at once;
//  - paced: the largest backlog (emitted minus taken in) while points arrive at
//    20 000 a second in blocks of 30 for three seconds;
//  - how many times the chart was redrawn meanwhile.

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <qcustomplot.h>

#include <atomic>
#include <cstdio>

#include "app/mainwindow.h"
#include "app/resources.h"

namespace {

class Emitter : public QObject
{
    Q_OBJECT
signals:
    void sendCurveData(int index, double x, double y);
};

QCustomPlot *plotOf(MainWindow &window)
{
    return window.findChild<QCustomPlot *>(QStringLiteral("userPlot"));
}

int held(QCustomPlot *plot)
{
    return plot->graph(0)->dataCount() + plot->graph(1)->dataCount();
}

void preload(MainWindow &window, int points)
{
    for (int i = 0; i < points; ++i)
        QMetaObject::invokeMethod(&window, "receiveCurveData", Qt::DirectConnection, Q_ARG(int, i % 2),
                                  Q_ARG(double, i * 0.001), Q_ARG(double, (i % 1000) * 0.5));
    QCoreApplication::processEvents();
}

// Emits `total` points from a second thread, `perSecond` a second in blocks of 30
// (0: as fast as it can), and runs the window's event loop until all are in.
struct Run
{
    double seconds;
    qint64 largestBacklog;
    int replots;
};

Run feed(MainWindow &window, Emitter &emitter, int total, int perSecond, double startX)
{
    QCustomPlot *plot = plotOf(window);
    const int before = held(plot);
    std::atomic<int> emitted{0};
    QThread *producer = QThread::create([&] {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < total; ++i) {
            if (perSecond > 0 && i % 30 == 0) {
                const qint64 due = qint64(i) * 1000000 / perSecond;
                while (clock.nsecsElapsed() / 1000 < due)
                    QThread::usleep(200);
            }
            emit emitter.sendCurveData(i % 2, startX + i * 0.001, (i % 500) * 0.25);
            emitted.store(i + 1, std::memory_order_release);
        }
    });
    int replots = 0;
    const QMetaObject::Connection counting =
        QObject::connect(plot, &QCustomPlot::afterReplot, [&replots] { ++replots; });
    QElapsedTimer timer;
    timer.start();
    producer->start();
    qint64 largestBacklog = 0;
    while (held(plot) - before < total) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        largestBacklog = qMax<qint64>(largestBacklog, emitted.load(std::memory_order_acquire) - (held(plot) - before));
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    producer->wait();
    delete producer;
    QCoreApplication::processEvents();
    QObject::disconnect(counting);
    return Run{seconds, largestBacklog, replots};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    quelmarInitResources();

    std::printf("%-10s %18s %10s %14s %18s %10s\n", "preloaded", "capacity (pts/s)", "replots", "paced (pts/s)",
                "largest backlog", "replots");
    for (int preloaded : {0, 100000, 1000000}) {
        MainWindow window;
        window.resize(800, 600);
        window.show();
        Emitter emitter;
        QObject::connect(&emitter, SIGNAL(sendCurveData(int,double,double)), &window,
                         SLOT(receiveCurveData(int,double,double)));
        preload(window, preloaded);
        const double startX = preloaded * 0.001;

        const int burst = 200000;
        const Run capacity = feed(window, emitter, burst, 0, startX);
        const int pacedTotal = 60000;
        const Run paced = feed(window, emitter, pacedTotal, 20000, startX + burst * 0.001);
        std::printf("%-10d %18.0f %10d %14.0f %18lld %10d\n", preloaded, burst / capacity.seconds, capacity.replots,
                    pacedTotal / paced.seconds, static_cast<long long>(paced.largestBacklog), paced.replots);
        std::fflush(stdout);
    }
    return 0;
}

#include "curvebench.moc"
