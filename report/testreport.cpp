#include "report/testreport.h"

#include <QDateTime>
#include <QJsonArray>
#include <qcustomplot.h>

#include "analysis/resultpath.h"
#include "report/recordfields.h"
#include "report/reportchart.h"
#include "report/resulttext.h"
#include "store/recordstatistics.h"

namespace {

constexpr double ChartHeightMm = 95;

// The results worth a row: every one that has a value or a limit, and the break
// flag where the method looks for breaks.
bool worthARow(const QJsonValue &value, bool limited, bool breakDetection, ResultQuantity quantity)
{
    if (limited || value.isDouble())
        return true;
    return quantity == ResultQuantity::Flag && (breakDetection || value.toBool());
}

} // namespace

ReportDocument TestReport::single(const TestRecord &record, const ReportOptions &options)
{
    const RecordFields fields(record.record);
    const ResultText text(fields.unit(), fields.decimals());
    ReportDocument document;
    document.setFooterText(QStringList{fields.sample(), record.uuid}.join(QStringLiteral(" · ")));
    document.addTitle(options.labName, tr("Test report"));
    document.addFields(fields.identification());

    document.addHeading(tr("Method and settings"));
    document.addFields(fields.methodAndSettings());
    document.addChart(ReportChart::record(record, fields.unit()), ChartHeightMm);

    document.addHeading(tr("Results"));
    const QJsonObject results = fields.results();
    const QMap<QString, ResultLimits> limits = methodLimits(fields.method());
    const QJsonArray failed = results.value(QStringLiteral("failed")).toArray();
    const bool breakDetection = fields.method().value(QStringLiteral("results")).toObject().contains(QStringLiteral("break"));
    ReportTable table;
    table.header = QStringList{tr("Result"), tr("Value"), tr("Limits"), tr("Verdict")};
    table.widths = {9, 4, 5, 3};
    for (const QString &path : fields.resultPaths()) {
        const QJsonValue value = resultAt(results, path);
        const ResultQuantity quantity = ResultText::quantity(path);
        const bool limited = limits.contains(path);
        if (!worthARow(value, limited, breakDetection, quantity))
            continue;
        QVector<ReportCell> row{ReportCell(ResultText::label(path)), ReportCell(text.value(value, quantity))};
        if (limited) {
            const ResultLimits &limit = limits[path];
            const bool fails = failed.contains(path);
            row << ReportCell(text.limits(limit.lower, limit.upper, quantity))
                << (fails ? ReportCell(tr("fail"), RecordFields::FailColor) : ReportCell(tr("pass"), RecordFields::PassColor));
        }
        table.rows.append(row);
    }
    document.addTable(table);
    const RecordFields::VerdictText verdict = fields.verdict();
    document.addVerdict(verdict.text, verdict.color, verdict.detail);

    document.addHeading(tr("Acquisition"));
    if (fields.source() == QLatin1String("file"))
        document.addText(tr("Read from a test data file: no acquisition figures."));
    else
        document.addFields(fields.quality(record));

    document.addHeading(tr("Record"));
    document.addText(tr("Record %1, number %2 in the database, recorded at %3\n"
                        "Hash (SHA-256): %4\nPrevious hash: %5")
                         .arg(record.uuid)
                         .arg(record.seq)
                         .arg(record.recordedAt, record.hash,
                              record.prevHash.isEmpty() ? tr("none (the first record)") : record.prevHash));
    document.addSignatures({tr("Tested by"), tr("Checked by"), tr("Date")});
    return document;
}
