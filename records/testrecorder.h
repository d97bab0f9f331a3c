#pragma once

#include <QJsonObject>
#include <QObject>
#include <memory>

#include "analysis/testmethod.h"
#include "control/testrun.h"
#include "records/sampleentry.h"
#include "records/testdatafile.h"
#include "store/recordbuilder.h"
#include "store/recordwriter.h"

// The stand as the window knew it when a test ended.
struct StandState
{
    int type = 0;      // type number (rated force), 0 when not read
    int decimals = 0;  // force decimals
    int unit = 0;      // 0 N, 1 kg, 2 lb: the unit shown
};

// Keeps every finished test as a record: computes its results by the method in use,
// builds the record with what the operator said about the sample, and hands it to a
// RecordWriter, whose thread does all database work. Nothing here waits for the
// database, so a running test's drawing never does.
class TestRecorder : public QObject
{
    Q_OBJECT

public:
    explicit TestRecorder(QObject *parent = nullptr);
    ~TestRecorder() override;

    // Records go to `url` from now on; for a server, `outboxPath` is the local file
    // where they wait while it cannot be reached. An invalid URL switches records off.
    void setDatabase(const DatabaseUrl &url, const QString &outboxPath);
    DatabaseUrl database() const;
    bool isOn() const { return writer != nullptr; }

    void setSample(const SampleEntry &entry) { sample = entry; }
    // A method without a name is none: no results beyond the fixed ones, verdict "none".
    void setMethod(const TestMethod &method) { this->method = method; }
    void setStand(const StandState &stand) { this->stand = stand; }

    // The record of a test as it is submitted; its uuid is the record's. Returns the
    // uuid, empty when records are off.
    QString recordTest(const TestRun &run);
    // A test data file read in newtons, its points in file order (source "file").
    QString recordFile(const TestData &newtons);

signals:
    void stateChanged(RecordWriter::State state, const QString &message);
    void waitingChanged(int count);
    void stored(const QString &uuid, qint64 seq);
    void failed(const QString &uuid, const QString &message);

private:
    RecordInput input(const TestCurve &curve) const;
    QString submit(const RecordInput &input);

    std::unique_ptr<RecordWriter> writer;
    SampleEntry sample;
    TestMethod method;
    StandState stand;
};

// The test settings as a record keeps them, in the form of a method's "test" member.
QJsonObject testSettingsJson(const Curve_Setting &setting);
