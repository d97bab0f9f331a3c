// The whole program against the simulated stand, driven as an operator drives it:
// connect, confirm the test settings, run tests and see their curves, return to
// status polling, keep each test as a record, save, open and export, jog with
// recording, change the force unit between two tests, disconnect and close in the
// middle of a test; and the built program started in demo mode.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "chart/forceunit.h"
#include "control/readout.h"
#include "history/samplestrip.h"
#include "control/testrun.h"
#include "sim/standsimulator.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"
#include "modaldialogs.h"
#include "simulatedwindow.h"
#include "tests/csvreader.h"
#include "tests/pdftext.h"
#include "widgetlookup.h"

namespace {

// 5 mm at 300 mm/min: one second out and one back, sampled 200 times a second.
constexpr float StrokeMm = 5.0f;
constexpr int SpeedMmPerMin = 300;
constexpr int SampleRateHz = 200;
constexpr int StrokeSamples = int(StrokeMm * 60 / SpeedMmPerMin * SampleRateHz);
// The stroke starts with a sample and the turn belongs to the forward stroke.
constexpr int ForwardPoints = StrokeSamples + 1;
constexpr int ReturnPoints = StrokeSamples;

constexpr quint8 ReadInputs = 0x04;
constexpr quint8 WriteMultiple = 0x10;
constexpr quint16 StartCommand = 3;
constexpr quint16 StopCommand = 4;

// Whole tests and the 200 empty curve reads that end one take seconds of line time;
// a loaded machine may need several times that.
constexpr int TestTimeoutMs = 30000;

bool isStatusRead(const SlaveRequest &r)
{
    return r.function == ReadInputs && r.address == 0 && r.count == 12;
}

bool isStartCommand(const SlaveRequest &r)
{
    return r.function == WriteMultiple && r.words.value(0) == StartCommand;
}

bool isStopCommand(const SlaveRequest &r)
{
    return r.function == WriteMultiple && r.words.value(0) == StopCommand;
}

// Descriptors of this process open on `path`.
int openDescriptors(const QString &path)
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == path)
            ++count;
    return count;
}

// Points as the data file keeps them: distance to 1 decimal, force to `decimals`,
// ordered so that points of equal distance compare whatever their order.
QVector<QPointF> asWritten(QVector<QPointF> points, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    for (QPointF &p : points)
        p = QPointF(double(float(std::round(p.x() * 10) / 10)), double(float(std::round(p.y() * scale) / scale)));
    std::sort(points.begin(), points.end(),
              [](const QPointF &a, const QPointF &b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    return points;
}

} // namespace

// A helper's failed check ends the test function that called it.
#define STEP(call)                          \
    do {                                    \
        call;                               \
        if (QTest::currentTestFailed())     \
            return;                         \
    } while (false)

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quelmarInitResources();
        QStandardPaths::setTestModeEnabled(true);  // the sample strip keeps its entries
    }

    void init()
    {
        const QString failure = openOnSimulatedStand(simulator, window, SampleRateHz, QSize(900, 650));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        plot = child<QCustomPlot>(window.get(), "userPlot");
    }

    void cleanup()
    {
        window.reset();  // stops the acquisition thread before the line goes away
        simulator.reset();
    }

    void testDrawsBothStrokesAndPollingResumes()
    {
        STEP(connectToStand());
        STEP(confirmTestSettings(StrokeMm, SpeedMmPerMin));
        const int mark = line().requestCount();
        click("startBtn");
        // No state is read while curve blocks are, yet the readouts follow the load.
        QTRY_VERIFY_WITH_TIMEOUT(shownNewtons() > 100, TestTimeoutMs);
        QCOMPARE(statusReadsAfterStart(), 0);
        STEP(awaitWholeTest(0));
        const QString lastPointForce = Readout::forceText(float(points(1).last().y()), forceUnit, forceDecimals);

        const QVector<QPointF> forward = points(0);
        const QVector<QPointF> back = points(1);
        QCOMPARE(forward.size(), ForwardPoints);
        QCOMPARE(back.size(), ReturnPoints);
        // The head starts at 0, turns at the stroke's end and comes back.
        QCOMPARE(forward.first().x(), 0.0);
        QCOMPARE(forward.last().x(), double(StrokeMm));
        QCOMPARE(back.first().x(), 0.0);
        QVERIFY(back.last().x() < double(StrokeMm));
        // Forces in newtons, matched to their distances: the specimen pressed
        // StrokeMm - slack at the turn.
        const StandModel::Specimen specimen = StandModel::specimenFor(500);
        const double turnForce = specimen.stiffnessNPerMm * (double(StrokeMm) - specimen.slackMm);
        QVERIFY2(qAbs(forward.last().y() - turnForce) < 1.0, qPrintable(QString::number(forward.last().y())));
        QVERIFY(qAbs(forward.first().y()) < 1.0);

        // The empty blocks after the test send the loop back to status polling by
        // itself, and the readouts move again.
        QTRY_VERIFY_WITH_TIMEOUT(statusReadsAfterStart() > 0, TestTimeoutMs);
        QTRY_VERIFY(text("forceLabel") != lastPointForce);
        QCOMPARE(countSince(mark, isStopCommand), 0);
        QCOMPARE(pointsHeld(), ForwardPoints + ReturnPoints);
    }

    void curvesSurviveSaveOpenAndExport()
    {
        STEP(connectToStand());
        STEP(confirmTestSettings(StrokeMm, SpeedMmPerMin));
        click("startBtn");
        STEP(awaitWholeTest(0));
        const QVector<QPointF> forward = points(0);
        const QVector<QPointF> back = points(1);
        QCOMPARE(forceDecimals, simulator->stand().withModel([](StandModel &m) { return m.decimals(); }));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString saved = dir.filePath(QStringLiteral("test.txt"));
        QCOMPARE(runModal([&] { trigger("actionSave"); }, {choose(saved)}), 1);
        click("refreshBtn");
        QCOMPARE(pointsHeld(), 0);
        QCOMPARE(runModal([&] { trigger("actionOpen"); }, {choose(saved)}), 1);
        QCOMPARE(asWritten(points(0), forceDecimals), asWritten(forward, forceDecimals));
        QCOMPARE(asWritten(points(1), forceDecimals), asWritten(back, forceDecimals));

        // Suffix and the format a reader finds in the file.
        const QVector<QPair<QString, QByteArray>> formats{{"jpg", "jpeg"}, {"bmp", "bmp"}, {"pdf", "pdf"}};
        for (const auto &format : formats) {
            const QString exported = dir.filePath(QStringLiteral("chart.") + format.first);
            QCOMPARE(runModal([&] { trigger("actionExport"); }, {choose(exported)}), 1);
            QFile file(exported);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(exported));
            if (format.second == "pdf") {
                QCOMPARE(file.read(5), QByteArray("%PDF-"));
                continue;
            }
            QImageReader reader(&file);
            QCOMPARE(reader.format(), format.second);
            QCOMPARE(reader.size(), plot->size());
        }
    }

    // Kept without the operator doing anything: the test's own points in newtons, the
    // sample strip's entries, the stand, and results that agree with the points.
    void everyTestIsKeptAsARecord()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        DatabaseUrl url;
        url.engine = DatabaseUrl::Sqlite;
        url.path = dir.filePath(QStringLiteral("records.sqlite"));
        window->useRecords(url);
        child<QLineEdit>(window.get(), "sampleEdit")->setText(QStringLiteral("S-009"));
        child<QLineEdit>(window.get(), "batchEdit")->setText(QStringLiteral("B-7"));
        child<QLineEdit>(window.get(), "operatorEdit")->setText(QStringLiteral("ann"));
        child<QLineEdit>(window.get(), "noteEdit")->setText(QStringLiteral("edge trimmed"));
        QSignalSpy finished(window.get(), &MainWindow::testFinished);
        STEP(connectToStand());
        STEP(confirmTestSettings(StrokeMm, SpeedMmPerMin));
        click("startBtn");
        STEP(awaitWholeTest(0));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, TestTimeoutMs);
        const TestRun run = finished.first().first().value<TestRun>();
        QCOMPARE(child<QLineEdit>(window.get(), "sampleEdit")->text(), QStringLiteral("S-010"));

        RecordDatabase db;
        QVERIFY2(db.open(url), qPrintable(db.error()));
        QVector<TestRecord> records;
        QString error;
        QTRY_VERIFY(readRecords(db, RecordFilter(), records, error) && records.size() == 1);
        const TestRecord &record = records.first();
        QCOMPARE(record.forward.size(), ForwardPoints);
        QCOMPARE(record.back.size(), ReturnPoints);
        QCOMPARE(record.forward, run.forward);
        QCOMPARE(record.back, run.back);
        const QJsonObject json = record.record;
        QCOMPARE(json.value("source").toString(), QStringLiteral("test"));
        QCOMPARE(json.value("sample").toString(), QStringLiteral("S-009"));
        QCOMPARE(json.value("batch").toString(), QStringLiteral("B-7"));
        QCOMPARE(json.value("operator").toString(), QStringLiteral("ann"));
        QCOMPARE(json.value("note").toString(), QStringLiteral("edge trimmed"));
        const QJsonObject stand = json.value("stand").toObject();
        QCOMPARE(stand.value("type").toInt(), 500);
        QCOMPARE(stand.value("decimals").toInt(), forceDecimals);
        QCOMPARE(stand.value("unit").toInt(), 0);
        QCOMPARE(json.value("settings").toObject().value("distance_mm").toDouble(), double(StrokeMm));
        QCOMPARE(json.value("settings").toObject().value("speed_mm_min").toInt(), SpeedMmPerMin);
        QVERIFY(json.value("quality").toObject().value("curve_reads").toInt() > 0);

        const QJsonObject results = json.value("results").toObject();
        const QJsonObject forward = results.value("forward").toObject();
        double peak = 0;
        for (const QPointF &point : run.forward)
            peak = qAbs(point.y()) > qAbs(peak) ? point.y() : peak;
        QCOMPARE(forward.value("points").toInt(), ForwardPoints);
        QCOMPARE(forward.value("peak_force_N").toDouble(), peak);
        QCOMPARE(results.value("verdict").toString(), QStringLiteral("none"));

        // The test on the chart is reported and exported as it was stored. The record is
        // read back first, so the dialogs come up once the database has answered.
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        const QString csv = dir.filePath(QStringLiteral("curve.csv"));
        QCOMPARE(runModal([&] { trigger("actionReport"); QTRY_VERIFY(QFile::exists(pdf)); }, {choose(pdf)}), 1);
        QVERIFY(pdfText(pdf).contains(record.hash));
        QCOMPARE(runModal([&] { trigger("actionExportCurve"); QTRY_VERIFY(QFile::exists(csv)); }, {choose(csv)}), 1);
        QFile curve(csv);
        QVERIFY(curve.open(QIODevice::ReadOnly));
        const QVector<QStringList> rows = readCsv(QString::fromUtf8(curve.readAll()));
        const int header = rows.indexOf(QStringList{"stroke", "distance_mm", "force_N"});
        QVERIFY(rows.contains(QStringList{QStringLiteral("# uuid: ") + record.uuid}));
        QCOMPARE(rows.size() - header - 1, ForwardPoints + ReturnPoints);
        // The report's name typed without its suffix: asked before it is replaced.
        QFile report(pdf);
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray reportBytes = report.readAll();
        report.close();
        const ModalStep keep = [](QWidget *box) { static_cast<QMessageBox *>(box)->button(QMessageBox::No)->click(); };
        QCOMPARE(runModal([&] { trigger("actionReport"); }, {choose(dir.filePath(QStringLiteral("report"))), keep}), 2);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll(), reportBytes);
        // Once the chart is cleared there is no test to report.
        click("refreshBtn");
        QString refusal;
        const ModalStep note = [&](QWidget *box) {
            refusal = static_cast<QMessageBox *>(box)->text();
            box->close();
        };
        QCOMPARE(runModal([&] { trigger("actionReport"); }, {note}), 1);
        QVERIFY2(refusal.contains(QStringLiteral("no stored test")), qPrintable(refusal));

        // The batch and the operator are there at the next start; the sample is not.
        SampleStrip next;
        QCOMPARE(next.entry().batch, QStringLiteral("B-7"));
        QCOMPARE(next.entry().operatorName, QStringLiteral("ann"));
        QCOMPARE(next.entry().sample, QString());
    }

    void recordingJogDrawsItsPoints()
    {
        STEP(connectToStand());
        child<QCheckBox>(window.get(), "curveCheckBox")->setChecked(true);
        click("downBtn");
        QTRY_VERIFY(pointsHeld() >= 50);
        click("stopBtn");

        const float stoppedAt = simulator->stand().withModel([](StandModel &m) {
            return m.motion() == StandModel::Motion::Idle ? m.distance() : -1.0f;
        });
        QVERIFY(stoppedAt > 0);
        // Stop ends curve reading at once: the next state shows where the head is,
        // and every point read before it has been drawn.
        QTRY_COMPARE(text("distanceLabel"), Readout::distanceText(stoppedAt));
        // Down is the forward direction of a push test; the head moved from 0 to
        // where it stopped, and the chart follows it there.
        QCOMPARE(points(1).size(), 0);
        const QVector<QPointF> jog = points(0);
        QCOMPARE(jog.first().x(), 0.0);
        QVERIFY2(jog.last().x() <= double(stoppedAt) && jog.last().x() > double(stoppedAt) - 0.5,
                 qPrintable(QStringLiteral("%1 / %2").arg(jog.last().x()).arg(stoppedAt)));
    }

    void unitChangeBetweenTestsRescalesOnce()
    {
        STEP(connectToStand());
        STEP(confirmTestSettings(StrokeMm, SpeedMmPerMin));
        click("startBtn");
        STEP(awaitWholeTest(0));
        click("stopBtn");  // back to status polling without the empty blocks
        const QVector<QPointF> newtons[2] = {points(0), points(1)};
        const QCPRange newtonRange = plot->yAxis->range();

        click("unitBtn");
        QTRY_COMPARE(plot->yAxis->label(), QStringLiteral("Force Kg"));
        // A few more states in kg must not divide again.
        STEP(awaitStatusReads(3));
        const auto inKg = [](double n) { return double(float(double(float(n)) / 9.8)); };
        for (int stroke : {0, 1}) {
            const QVector<QPointF> held = points(stroke);
            QCOMPARE(held.size(), newtons[stroke].size());
            for (int i = 0; i < held.size(); ++i)
                QCOMPARE(held[i].y(), inKg(newtons[stroke][i].y()));
        }
        QCOMPARE(plot->yAxis->range(), QCPRange(inKg(newtonRange.lower), inKg(newtonRange.upper)));

        // The second test samples the same distances; its forces arrive in kg and
        // lie next to the first test's, which are not converted again.
        click("startBtn");
        STEP(awaitWholeTest(ForwardPoints + ReturnPoints));
        for (int stroke : {0, 1}) {
            QMap<double, QVector<double>> byDistance;
            for (const QPointF &p : points(stroke))
                byDistance[p.x()].append(p.y());
            QCOMPARE(byDistance.size(), newtons[stroke].size());
            for (auto it = byDistance.cbegin(); it != byDistance.cend(); ++it) {
                QCOMPARE(it.value().size(), 2);
                QVERIFY2(qAbs(it.value()[0] - it.value()[1]) < 0.1,
                         qPrintable(QStringLiteral("at %1 mm: %2 and %3 kg")
                                        .arg(it.key()).arg(it.value()[0]).arg(it.value()[1])));
            }
        }
    }

    void disconnectDuringATestAsksAndStopsTheStand()
    {
        const QString port = simulator->portPath();
        const int idleDescriptors = openDescriptors(port);
        STEP(connectToStand());
        // Long enough to be still running when the operator disconnects.
        STEP(confirmTestSettings(8 * StrokeMm, SpeedMmPerMin));
        QSignalSpy finished(window.get(), &MainWindow::testFinished);
        const int mark = line().requestCount();
        click("startBtn");
        QTRY_VERIFY(pointsHeld() >= 20);

        // No: nothing changes, the test goes on.
        QString asked;
        QCOMPARE(runModal([&] { trigger("actionDisconnect"); }, {answer(QMessageBox::No, &asked)}), 1);
        QCOMPARE(asked, QStringLiteral("A test is running. Stop it and disconnect?"));
        QVERIFY(connected());
        const int drawn = pointsHeld();
        QTRY_VERIFY(pointsHeld() > drawn);

        // Yes: Stop goes out before the link closes, and the stand stops.
        QCOMPARE(runModal([&] { trigger("actionDisconnect"); }, {answer(QMessageBox::Yes)}), 1);
        QVERIFY(!connected());
        QCOMPARE(openDescriptors(port), idleDescriptors);
        QCOMPARE(countSince(mark, isStopCommand), 1);
        QVERIFY(simulator->stand().withModel([](StandModel &m) { return m.motion() == StandModel::Motion::Idle; }));
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished[0][0].value<TestRun>().stopped);
    }

    void closingDuringATestAsksAndStopsTheStand()
    {
        STEP(connectToStand());
        STEP(confirmTestSettings(8 * StrokeMm, SpeedMmPerMin));
        const int mark = line().requestCount();
        click("startBtn");
        QTRY_VERIFY(pointsHeld() >= 20);
        QCOMPARE(runModal([&] { window->close(); }, {answer(QMessageBox::No)}), 1);
        QVERIFY(window->isVisible());
        QCOMPARE(countSince(mark, isStopCommand), 0);
        QCOMPARE(runModal([&] { window->close(); }, {answer(QMessageBox::Yes)}), 1);
        QVERIFY(!window->isVisible());
        QCOMPARE(countSince(mark, isStopCommand), 1);
        QVERIFY(simulator->stand().withModel([](StandModel &m) { return m.motion() == StandModel::Motion::Idle; }));
    }

    void demoProgramStarts()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess version;
        version.setProcessEnvironment(environment);
        version.start(QStringLiteral(QUELMAR_PROGRAM), {QStringLiteral("--demo"), QStringLiteral("--version")});
        QVERIFY(version.waitForFinished(30000));
        QCOMPARE(version.exitCode(), 0);
        QVERIFY(version.readAllStandardOutput().contains(QUELMAR_DISPLAY_VERSION));

        // Records go where --database says, not to the user's own file; a URL the
        // program cannot follow stops it before any window.
        QTemporaryDir dir;
        const QString records = dir.filePath(QStringLiteral("records.sqlite"));
        QProcess refused;
        refused.setProcessEnvironment(environment);
        refused.start(QStringLiteral(QUELMAR_PROGRAM), {QStringLiteral("--database"), records});
        QVERIFY(refused.waitForFinished(30000));
        QCOMPARE(refused.exitCode(), 1);
        QVERIFY(refused.readAllStandardError().contains("--database"));

        QProcess demo;
        demo.setProcessEnvironment(environment);
        demo.start(QStringLiteral(QUELMAR_PROGRAM),
                   {QStringLiteral("--demo"), QStringLiteral("--database"), QStringLiteral("sqlite:") + records});
        QVERIFY(demo.waitForStarted(10000));
        // Still running a second later: the stand and the window came up.
        QVERIFY2(!demo.waitForFinished(1000), demo.readAllStandardError().constData());
        QTRY_VERIFY(QFile::exists(records));
        demo.terminate();  // SIGTERM to its pid
        QVERIFY(demo.waitForFinished(10000));
    }

private:
    RtuSlave &line() { return simulator->line(); }
    void trigger(const char *action) { child<QAction>(window.get(), action)->trigger(); }
    void click(const char *button) { child<QAbstractButton>(window.get(), button)->click(); }
    QString text(const char *label) { return child<QLabel>(window.get(), label)->text(); }
    bool connected() { return !child<QAction>(window.get(), "actionConnect")->isEnabled(); }
    double shownNewtons() { return text("forceLabel").section(QLatin1Char(' '), 0, 0).toDouble(); }

    // A step that answers a message box with `button`, noting its text.
    static ModalStep answer(QMessageBox::StandardButton button, QString *text = nullptr)
    {
        return [=](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            if (text)
                *text = box->text();
            box->button(button)->click();
        };
    }
    int pointsHeld() const { return plot->graph(0)->dataCount() + plot->graph(1)->dataCount(); }

    QVector<QPointF> points(int stroke) const
    {
        QVector<QPointF> held;
        for (const QCPGraphData &point : *plot->graph(stroke)->data())
            held << QPointF(point.key, point.value);
        return held;
    }

    // Counted from the last start command, as a status read sent just before it may
    // be logged after the test took a mark.
    int statusReadsAfterStart()
    {
        const QVector<SlaveRequest> requests = line().requests();
        const auto start = std::find_if(requests.crbegin(), requests.crend(), isStartCommand);
        return int(std::count_if(requests.crbegin(), start, isStatusRead));
    }

    // Requests of one kind logged from index `first` on.
    int countSince(int first, bool (*kind)(const SlaveRequest &))
    {
        const QVector<SlaveRequest> requests = line().requests().mid(first);
        return int(std::count_if(requests.cbegin(), requests.cend(), kind));
    }

    // After the stand has answered `count` more status reads, every state read
    // before the last of them has reached the window.
    void awaitStatusReads(int count)
    {
        const int mark = line().requestCount();
        QTRY_VERIFY_WITH_TIMEOUT(countSince(mark, isStatusRead) >= count, TestTimeoutMs);
        QCoreApplication::processEvents();
    }

    void connectToStand()
    {
        trigger("actionConnect");
        QVERIFY(connected());
        QTRY_VERIFY(!text("forceLabel").isEmpty());  // status polling runs
    }

    // Through the window-modal test start dialog, as a push test of relative distance.
    void confirmTestSettings(float distanceMm, int speed)
    {
        trigger("actionChart");
        QWidget *dialog = nullptr;
        for (QWidget *shown : window->findChildren<QWidget *>(QStringLiteral("chartStart")))
            if (shown->isVisible())
                dialog = shown;
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        child<QComboBox>(dialog, "comboBox")->setCurrentIndex(0);
        child<QRadioButton>(dialog, "relativeRBtn")->setChecked(true);
        child<QLineEdit>(dialog, "distanceEdit")->setText(QString::number(double(distanceMm)));
        child<QLineEdit>(dialog, "speedEdit")->setText(QString::number(speed));
        child<QAbstractButton>(dialog, "okBtn")->click();
        QVERIFY(!dialog->isVisible());
        QVERIFY(child<QPushButton>(window.get(), "startBtn")->isEnabled());
    }

    // Until the stand has finished the test and the chart holds every sample it took.
    void awaitWholeTest(int pointsBefore)
    {
        QTRY_VERIFY_WITH_TIMEOUT(simulator->stand().withModel([](StandModel &m) {
            return m.motion() == StandModel::Motion::Idle && m.queuedPoints() == 0;
        }), TestTimeoutMs);
        QTRY_COMPARE(pointsHeld(), pointsBefore + ForwardPoints + ReturnPoints);
    }

    std::unique_ptr<StandSimulator> simulator;
    std::unique_ptr<MainWindow> window;
    QCustomPlot *plot = nullptr;
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
