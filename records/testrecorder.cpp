#include "records/testrecorder.h"

#include <QJsonDocument>
#include <cmath>

#include "analysis/curveresults.h"
#include "analysis/verdict.h"

TestRecorder::TestRecorder(QObject *parent)
    : QObject(parent)
{
}

TestRecorder::~TestRecorder() = default;

void TestRecorder::setDatabase(const DatabaseUrl &url, const QString &outboxPath)
{
    if (writer && writer->target().toDisplayString() == url.toDisplayString())
        return;
    writer.reset();
    if (!url.isValid()) {
        emit waitingChanged(0);
        emit stateChanged(RecordWriter::Off, tr("no records database chosen"));
        return;
    }
    writer = std::make_unique<RecordWriter>(url, outboxPath);
    connect(writer.get(), &RecordWriter::stateChanged, this, &TestRecorder::stateChanged);
    connect(writer.get(), &RecordWriter::waitingChanged, this, &TestRecorder::waitingChanged);
    connect(writer.get(), &RecordWriter::stored, this, &TestRecorder::stored);
    connect(writer.get(), &RecordWriter::failed, this, &TestRecorder::failed);
    emit waitingChanged(0);
    emit stateChanged(RecordWriter::Starting, QString());
}

DatabaseUrl TestRecorder::database() const
{
    return writer ? writer->target() : DatabaseUrl();
}

RecordInput TestRecorder::input(const TestCurve &curve) const
{
    RecordInput input;
    input.sample = sample.sample;
    input.batch = sample.batch;
    input.operatorName = sample.operatorName;
    input.note = sample.note;
    input.standType = stand.type;
    input.standDecimals = stand.decimals;
    input.standUnit = stand.unit;
    if (!method.name.isEmpty())
        input.method = QJsonDocument::fromJson(testMethodJson(method)).object();
    input.results = resultsJson(curveResultsJson(analyseCurve(curve, method.results)), method.limits);
    return input;
}

QString TestRecorder::recordTest(const TestRun &run)
{
    if (!writer)
        return QString();
    RecordInput record = input(TestCurve{run.forward, run.back});
    record.settings = testSettingsJson(run.setting);
    record.quality = acquisitionQualityJson(run.quality.curveReads, run.quality.failedReads,
                                            run.quality.droppedPoints);
    record.forward = run.forward;
    record.back = run.back;
    return submit(record);
}

QString TestRecorder::recordFile(const TestData &newtons)
{
    if (!writer)
        return QString();
    RecordInput record = input(TestCurve::fromStoredOrder(newtons.forwardStroke, newtons.returnStroke));
    record.source = QStringLiteral("file");
    record.forward = newtons.forwardStroke;
    record.back = newtons.returnStroke;
    return submit(record);
}

QString TestRecorder::submit(const RecordInput &input)
{
    const PreparedRecord prepared = buildRecord(input);
    writer->submit(prepared);
    return prepared.uuid;
}

QJsonObject testSettingsJson(const Curve_Setting &setting)
{
    // The test start dialog takes the distance with at most two decimals; the float
    // that carried it is not what the operator typed.
    const double distance = std::round(double(setting.distance) * 100) / 100;
    return {{QStringLiteral("mode"), setting.mode == 0 ? QStringLiteral("push") : QStringLiteral("pull")},
            {QStringLiteral("distance_mode"),
             setting.distanceMode == 0 ? QStringLiteral("relative") : QStringLiteral("absolute")},
            {QStringLiteral("speed_mm_min"), setting.speed},
            {QStringLiteral("distance_mm"), distance}};
}
