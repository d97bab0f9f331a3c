// quelmar-cli run (--port PATH | --simulated) --method METHOD.json --sample S ...: one
// test without a window, from the start command to the stored record and its files.

#include <QEventLoop>
#include <QJsonDocument>
#include <memory>

#include "analysis/testmethod.h"
#include "cli/command.h"
#include "cli/commandline.h"
#include "cli/resultlisting.h"
#include "control/standtest.h"
#include "records/recordslocation.h"
#include "records/testrecorder.h"
#include "report/curvecsv.h"
#include "report/reportsettings.h"
#include "report/testreport.h"
#include "sim/standoptions.h"
#include "sim/terminationsignals.h"
#include "store/recorddatabase.h"
#include "store/recordquery.h"

namespace {

const QString Name = QStringLiteral("run");

struct RunOptions
{
    QCommandLineOption port{QStringLiteral("port"), QStringLiteral("The stand's serial device."), QStringLiteral("PATH")};
    QCommandLineOption simulated{QStringLiteral("simulated"),
                                 QStringLiteral("Runs the test on the program's own simulated stand.")};
    QCommandLineOption standOption{QStringLiteral("stand-option"),
                                   QStringLiteral("An option of the simulated stand as quelmar-standsim takes it, "
                                                  "without its dashes: type=1000, sample-rate=200, fault=late:3."),
                                   QStringLiteral("NAME=VALUE")};
    QCommandLineOption method{QStringLiteral("method"), QStringLiteral("The test method: settings, results, limits."),
                              QStringLiteral("METHOD.json")};
    QCommandLineOption sample{QStringLiteral("sample"), QStringLiteral("The sample tested."), QStringLiteral("S")};
    QCommandLineOption batch{QStringLiteral("batch"), QStringLiteral("Its batch."), QStringLiteral("B")};
    QCommandLineOption operatorName{QStringLiteral("operator"), QStringLiteral("Who tests."), QStringLiteral("O")};
    QCommandLineOption note{QStringLiteral("note"), QStringLiteral("A note kept with the record."), QStringLiteral("N")};
    QCommandLineOption database{QStringLiteral("database"),
                                QStringLiteral("The records database: sqlite:PATH or postgresql://user@host:port/dbname "
                                               "(default: the window's)."),
                                QStringLiteral("URL")};
    QCommandLineOption pdf{QStringLiteral("pdf"), QStringLiteral("Also writes the test report."), QStringLiteral("FILE")};
    QCommandLineOption csv{QStringLiteral("csv"), QStringLiteral("Also writes the curve as CSV."), QStringLiteral("FILE")};
    QCommandLineOption lab{QStringLiteral("lab"), QStringLiteral("The lab's name heading the report."),
                           QStringLiteral("NAME")};
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("Prints the results as quelmar-cli analyse --json does, with the record's "
                                           "\"uuid\".")};

    QList<QCommandLineOption> all() const
    {
        return {port, simulated, standOption, method, sample, batch, operatorName, note, database, pdf, csv, lab, json};
    }
};

// What the test ended with: the run, or why there is none.
struct TestOutcome
{
    std::optional<TestRun> run;
    QString error;
};

TestOutcome runTest(StandTest &test, const Curve_Setting &setting)
{
    TestOutcome outcome;
    bool interrupted = false;
    QEventLoop loop;
    // Ctrl+C and SIGTERM stop the stand before the program ends.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &loop, [&] {
        if (!interrupted)
            test.stop();
        interrupted = true;
    });
    QObject::connect(&test, &StandTest::finished, &loop, [&](const TestRun &run) {
        outcome.run = run;
        loop.quit();
    });
    QObject::connect(&test, &StandTest::failed, &loop, [&](const QString &message) {
        outcome.error = message;
        loop.quit();
    });
    test.start(setting);
    loop.exec();
    if (interrupted) {
        outcome.run.reset();
        outcome.error = QStringLiteral("interrupted; the stand was told to stop");
    }
    return outcome;
}

// Stores the test as the window does and waits for the database's answer. Returns
// why it was not stored, empty when it was. A record for a server that cannot be
// reached stays in the local outbox, as the window's would, and goes to the server
// with the next record sent there.
QString storeTest(TestRecorder &recorder, const TestRun &run, QString &uuid)
{
    QString error;
    QEventLoop loop;
    QObject::connect(&recorder, &TestRecorder::stored, &loop, [&](const QString &stored) {
        if (stored == uuid)
            loop.quit();
    });
    QObject::connect(&recorder, &TestRecorder::failed, &loop, [&](const QString &, const QString &message) {
        error = message;
        loop.quit();
    });
    QObject::connect(&recorder, &TestRecorder::stateChanged, &loop,
                     [&](RecordWriter::State state, const QString &message) {
                         if (state == RecordWriter::Off)
                             error = message;
                         else if (state == RecordWriter::Waiting)
                             error = QStringLiteral("the server cannot be reached (%1); the record waits in %2")
                                         .arg(message, defaultRecordsDatabase().path);
                         if (!error.isEmpty())
                             loop.quit();
                     });
    uuid = recorder.recordTest(run);
    if (uuid.isEmpty())
        return QStringLiteral("records are off");
    loop.exec();
    return error;
}

} // namespace

int runRun(const QStringList &args)
{
    QCommandLineParser parser;
    const RunOptions options;
    parser.addOptions(options.all());
    const CommandSyntax syntax{
        Name,
        QStringLiteral("(--port PATH | --simulated [--stand-option NAME=VALUE]...) --method METHOD.json --sample S "
                       "[--batch B] [--operator O] [--note N] [--database URL] [--pdf FILE] [--csv FILE] "
                       "[--lab NAME] [--json]"),
        QStringLiteral("Runs one test without a window: connects to the stand, starts the test with the method's "
                       "settings, acquires until the curve ends, stores the record, writes the files asked for and "
                       "prints the results. Ctrl+C or SIGTERM during the test stops the stand. Exit status 0 for "
                       "a verdict of pass or none, 1 for fail, 2 for an error.")};
    if (const std::optional<int> status = parseCommandArguments(parser, args, syntax))
        return *status;
    if (parser.isSet(options.port) == parser.isSet(options.simulated))
        return commandError(Name, QStringLiteral("needs either --port PATH or --simulated"));
    if (!parser.isSet(options.method) || !parser.isSet(options.sample))
        return commandError(Name, QStringLiteral("needs --method METHOD.json and --sample S"));
    StandOptions stand;
    QString error;
    if (!StandOptionSet().readList(parser.values(options.standOption), stand, error))
        return commandError(Name, QStringLiteral("--stand-option: %1").arg(error));
    if (parser.isSet(options.standOption) && !parser.isSet(options.simulated))
        return commandError(Name, QStringLiteral("--stand-option goes with --simulated"));

    const TestMethodReading method = readTestMethodFile(parser.value(options.method));
    if (!method.error.isEmpty())
        return commandError(Name, method.error);

    // The database must take records before the stand moves.
    const DatabaseUrlParse url = recordsDatabaseAtStart(parser.value(options.database), keptRecordsDatabase());
    if (!url.error.isEmpty())
        return commandError(Name, url.error);
    RecordDatabase db;
    if (!db.open(url.url))
        return commandError(Name, db.error());

    std::unique_ptr<StandSimulator> simulator;
    QString port = parser.value(options.port);
    if (parser.isSet(options.simulated)) {
        simulator = std::make_unique<StandSimulator>(stand.settings);
        stand.applyTo(*simulator);
        if (!simulator->start())
            return commandError(Name, QStringLiteral("no simulated stand: %1").arg(simulator->errorString()));
        port = simulator->portPath();
    }

    StandTest test;
    if (!test.connectStand(port, error))
        return commandError(Name, error);
    const TestOutcome outcome = runTest(test, method.method.test.setting().value_or(DefaultCurveSetting));
    if (!outcome.run)
        return commandError(Name, outcome.error);

    TestRecorder recorder;
    recorder.setDatabase(url.url, defaultRecordsDatabase().path);
    recorder.setSample({parser.value(options.sample), parser.value(options.batch),
                        parser.value(options.operatorName), parser.value(options.note)});
    recorder.setMethod(method.method);
    recorder.setStand({test.stand().type, test.stand().decimals, test.stand().unit});
    QString uuid;
    error = storeTest(recorder, *outcome.run, uuid);
    if (!error.isEmpty())
        return commandError(Name, QStringLiteral("the record was not stored: %1").arg(error));

    QVector<TestRecord> records;
    RecordFilter filter;
    filter.uuids = QStringList{uuid};
    if (!readRecords(db, filter, records, error) || records.isEmpty())
        return commandError(Name, QStringLiteral("the stored record cannot be read back: %1").arg(error));
    const TestRecord &record = records.first();
    if (parser.isSet(options.csv)) {
        error = saveCurveCsv(parser.value(options.csv), record, test.stand().unit);
        if (!error.isEmpty())
            return commandError(Name, QStringLiteral("cannot write %1: %2").arg(parser.value(options.csv), error));
    }
    if (parser.isSet(options.pdf)) {
        const ReportOptions report{parser.isSet(options.lab) ? parser.value(options.lab) : reportLabName()};
        if (writeReportPdf(TestReport::single(record, report), parser.value(options.pdf), record.uuid, error) == 0)
            return commandError(Name, QStringLiteral("cannot write %1: %2").arg(parser.value(options.pdf), error));
    }

    test.disconnectStand();

    QJsonObject results = record.record.value(QStringLiteral("results")).toObject();
    QByteArray output;
    if (parser.isSet(options.json)) {
        results.insert(QStringLiteral("uuid"), record.uuid);
        output = QJsonDocument(results).toJson(QJsonDocument::Compact) + '\n';
    } else {
        output = resultListing(results, method.method) + QStringLiteral("Record: %1\n").arg(record.uuid).toUtf8();
    }
    if (!printOutput(Name, output))
        return CliError;
    return results.value(QStringLiteral("verdict")).toString() == QLatin1String("fail") ? CliFailed : CliSuccess;
}
