#include "results/resultspanel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>

#include "analysis/curveresults.h"
#include "analysis/verdict.h"
#include "chart/curveplot.h"
#include "chart/forceunit.h"
#include "control/testrun.h"
#include "records/testdatafile.h"
#include "results/methodlibrarydialog.h"
#include "results/resultsdock.h"

namespace {

std::optional<QPointF> shownPoint(const QJsonObject &stroke, const char *distance, const char *force)
{
    const QJsonValue x = stroke.value(QLatin1String(distance)), y = stroke.value(QLatin1String(force));
    if (!x.isDouble() || !y.isDouble())
        return std::nullopt;
    return QPointF(x.toDouble(), double(ForceUnit::fromNewtons(float(y.toDouble()), forceUnit)));
}

std::optional<QPointF> shownPoint(const std::optional<QPointF> &newtons)
{
    if (!newtons)
        return std::nullopt;
    return QPointF(newtons->x(), double(ForceUnit::fromNewtons(float(newtons->y()), forceUnit)));
}

} // namespace

ResultsPanel::ResultsPanel(QMainWindow *window, QMenu *viewMenu, CurvePlot &chart, const QString &methodFolder)
    : QObject(window)
    , window(window)
    , chart(chart)
    , resultsDock(new ResultsDock(window))
    , library(methodFolder)
{
    resultsDock->setObjectName(QStringLiteral("resultsDock"));
    window->addDockWidget(Qt::RightDockWidgetArea, resultsDock);
    // The window grows by the panel, so the chart and the controls keep their room.
    window->resize(window->width() + resultsDock->sizeHint().width(), window->height());
    viewMenu->addAction(resultsDock->toggleViewAction());
    viewMenu->addSeparator();
    const std::pair<CurveMarkers::Kind, QString> switches[] = {{CurveMarkers::Peak, tr("Peak markers")},
                                                                {CurveMarkers::Break, tr("Break markers")},
                                                                {CurveMarkers::Window, tr("Window markers")}};
    for (const auto &[kind, text] : switches) {
        QAction *action = viewMenu->addAction(text);
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("actionMarkers%1").arg(int(kind)));
        connect(action, &QAction::toggled, this, [this, kind = kind](bool on) { this->chart.markers().setShown(kind, on); });
    }
    connect(resultsDock, &ResultsDock::refreshRequested, this, &ResultsPanel::showChart);
    connect(resultsDock, &ResultsDock::methodsRequested, this, &ResultsPanel::openLibrary);
    // Once the window has connected the panel, the method kept from the last run
    // sets the test as a chosen one does.
    QMetaObject::invokeMethod(this, &ResultsPanel::takeUpMethod, Qt::QueuedConnection);
}

void ResultsPanel::showTest(const TestRun &run)
{
    show(tr("Test of %1%2").arg(run.startedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                                run.stopped ? tr(", stopped") : QString()),
         TestCurve{run.forward, run.back});
}

void ResultsPanel::followTest(const TestRun &run)
{
    if (!running) {
        peaks[0] = peaks[1] = RunningPeak();
        running = true;
    }
    peaks[0].follow(run.forward);
    peaks[1].follow(run.back);
    source = tr("Test running, %1 s").arg(run.durationMs / 1000);
    render();
}

void ResultsPanel::showFile(const QString &path)
{
    // Read again in newtons, as quelmar-cli reads it: the chart holds the shown unit.
    TestDataReading reading = openTestDataFile(path, ForceUnit::Newton);
    const QString name = QFileInfo(path).fileName();
    if (!reading.error.isEmpty()) {
        show(tr("File %1 could not be read again: %2").arg(name, reading.error), TestCurve());
        return;
    }
    show(tr("File %1").arg(name), TestCurve::fromStoredOrder(std::move(reading.data.forwardStroke),
                                                             std::move(reading.data.returnStroke)));
}

void ResultsPanel::showChart()
{
    QVector<QPointF> strokes[2] = {chart.points(CurvePlot::Forward), chart.points(CurvePlot::Return)};
    for (QVector<QPointF> &stroke : strokes) {
        for (QPointF &point : stroke)
            point.setY(double(ForceUnit::toNewtons(float(point.y()), forceUnit)));
    }
    show(tr("What the chart holds"), TestCurve::fromStoredOrder(std::move(strokes[0]), std::move(strokes[1])));
}

void ResultsPanel::showInUnit()
{
    if (!source.isEmpty() && (forceUnit != shownUnit || forceDecimals != shownDecimals))
        render();
}

void ResultsPanel::openLibrary()
{
    MethodLibraryDialog dialog(library, window);
    connect(&dialog, &MethodLibraryDialog::methodChosen, this, &ResultsPanel::takeUpMethod);
    dialog.exec();
    // The method in use may have been edited or deleted meanwhile.
    const std::optional<TestMethod> chosen = library.methodInUse();
    const bool changed = library.inUse() != inUseFile || (chosen && inUse && chosen->version != inUse->version)
        || chosen.has_value() != inUse.has_value();
    if (changed)
        takeUpMethod();
}

void ResultsPanel::takeUpMethod()
{
    inUseFile = library.inUse();
    inUse = library.methodInUse();
    resultsDock->showMethod(inUse ? inUse->name : QString(), inUse ? inUse->version : 0);
    emit methodInUseChanged(inUse.value_or(TestMethod()));
    if (inUse) {
        if (const std::optional<Curve_Setting> setting = inUse->test.setting())
            emit sendCurveSetting(*setting);
    }
    if (!source.isEmpty() && !running)
        show(source, curve);
}

void ResultsPanel::show(const QString &shownSource, const TestCurve &shownCurve)
{
    running = false;
    source = shownSource;
    curve = shownCurve;
    const TestMethod method = inUse.value_or(TestMethod());
    results = resultsJson(curveResultsJson(analyseCurve(curve, method.results)), method.limits);
    render();
}

void ResultsPanel::render()
{
    shownUnit = forceUnit;
    shownDecimals = forceDecimals;
    CurveMarkers::Places places;
    if (running) {
        resultsDock->showRunning(source, peaks[0], peaks[1], forceUnit, forceDecimals);
        for (int stroke : {0, 1})
            places.peak[stroke] = shownPoint(peaks[stroke].peak());
    } else {
        resultsDock->showResults(source, results, forceUnit, forceDecimals);
        int stroke = 0;
        for (const char *name : {"forward", "return"}) {
            const QJsonObject strokeResults = results.value(QLatin1String(name)).toObject();
            places.peak[stroke] = shownPoint(strokeResults, "peak_distance_mm", "peak_force_N");
            const QJsonValue breakDistance = strokeResults.value(QLatin1String("break_distance_mm"));
            if (breakDistance.isDouble())
                places.breakDistance[stroke] = breakDistance.toDouble();
            ++stroke;
        }
        if (inUse && inUse->results.window)
            places.window = std::pair(inUse->results.window->from, inUse->results.window->to);
    }
    chart.markers().place(places);
}
