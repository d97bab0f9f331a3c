#include "report/testreport.h"

#include <functional>
#include <qcustomplot.h>

#include "analysis/resultpath.h"
#include "report/recordfields.h"
#include "report/reportchart.h"
#include "report/resulttext.h"
#include "records/batchstatistics.h"

namespace {

constexpr double ChartHeightMm = 110;
constexpr int MaxResultColumns = 4;

// The unit all the records were seen in, else N.
int commonUnit(const QVector<RecordFields> &records)
{
    const int unit = records.isEmpty() ? 0 : records.first().unit();
    for (const RecordFields &record : records)
        if (record.unit() != unit)
            return 0;
    return unit;
}

QString distinct(const QVector<RecordFields> &records, const std::function<QString(const RecordFields &)> &value)
{
    QStringList values;
    for (const RecordFields &record : records) {
        const QString text = value(record);
        if (!text.isEmpty() && !values.contains(text))
            values.append(text);
    }
    return values.isEmpty() ? QStringLiteral("—") : values.join(QStringLiteral(", "));
}

// Every path in the order the window lists a record's results.
QStringList allResultPaths(const QVector<RecordFields> &records)
{
    QStringList paths;
    for (const RecordFields &record : records)
        for (const QString &path : record.resultPaths())
            if (!paths.contains(path))
                paths.append(path);
    return paths;
}

QString optional(const std::optional<double> &value, int decimals)
{
    return value ? QString::number(*value, 'f', decimals) : QStringLiteral("—");
}

} // namespace

ReportDocument TestReport::batch(const QVector<TestRecord> &records, const ReportOptions &options)
{
    QVector<RecordFields> fields;
    QVector<QJsonObject> methods;
    int passed = 0, failed = 0;
    for (const TestRecord &record : records) {
        fields.append(RecordFields(record.record));
        methods.append(fields.last().method());
        passed += fields.last().verdictKey() == QLatin1String("pass");
        failed += fields.last().verdictKey() == QLatin1String("fail");
    }
    const int unit = commonUnit(fields);
    const ResultText text(unit, fields.isEmpty() ? 3 : fields.first().decimals());

    ReportDocument document;
    document.setFooterText(tr("Batch report of %1 records").arg(records.size()));
    document.addTitle(options.labName, tr("Batch report"));
    const QString first = fields.isEmpty() ? QString() : fields.first().localTime();
    const QString last = fields.isEmpty() ? QString() : fields.last().localTime();
    document.addFields({
        {tr("Records"), QString::number(records.size())},
        {tr("Verdicts"), tr("%1 pass, %2 fail, %3 without limits").arg(passed).arg(failed).arg(records.size() - passed - failed)},
        {tr("Batch"), distinct(fields, [](const RecordFields &f) { return f.batch(); })},
        {tr("Method"), distinct(fields, [](const RecordFields &f) { return f.methodTitle(); })},
        {tr("From"), first.isEmpty() ? QStringLiteral("—") : first},
        {tr("To"), last.isEmpty() ? QStringLiteral("—") : last},
    });
    document.addChart(ReportChart::overlay(records, unit), ChartHeightMm);

    document.addHeading(tr("Statistics"));
    const QMap<QString, ResultStatistics> statistics = batchStatistics(records);
    ReportTable statisticsTable;
    statisticsTable.header = QStringList{tr("Result"), tr("Unit"), tr("n"), tr("Mean"), tr("SD"), tr("Min"), tr("Max"),
                                         tr("CV %"), tr("Cpk")};
    statisticsTable.widths = {12, 3, 2, 4, 4, 4, 4, 3, 3};
    statisticsTable.rightAlignedFrom = 2;
    for (const QString &path : allResultPaths(fields)) {
        if (!statistics.contains(path))
            continue;
        const ResultStatistics &s = statistics[path];
        const ResultQuantity quantity = ResultText::quantity(path);
        const auto shown = [&](double value) { return text.number(value, quantity); };
        statisticsTable.rows.append({ReportCell(ResultText::label(path)), ReportCell(text.unit(quantity)),
                                     ReportCell(QString::number(s.n)), ReportCell(shown(s.mean)),
                                     ReportCell(s.sd ? shown(*s.sd) : QStringLiteral("—")), ReportCell(shown(s.min)),
                                     ReportCell(shown(s.max)), ReportCell(optional(s.cvPercent, 1)),
                                     ReportCell(optional(s.cpk, 2))});
    }
    document.addTable(statisticsTable);

    document.addHeading(tr("Records"));
    const QStringList columns = mainResultPaths(methods).mid(0, MaxResultColumns);
    ReportTable recordTable;
    recordTable.header = QStringList{QString(), tr("Sample"), tr("Time"), tr("Operator")};
    recordTable.widths = {1, 5, 8, 4};
    for (const QString &path : columns) {
        const QString unitText = text.unit(ResultText::quantity(path));
        recordTable.header.append(unitText.isEmpty() ? ResultText::label(path)
                                                     : QStringLiteral("%1 [%2]").arg(ResultText::label(path), unitText));
        recordTable.widths.append(4);
    }
    recordTable.header.append(tr("Verdict"));
    recordTable.widths.append(3);
    recordTable.rightAlignedFrom = 4;
    for (int i = 0; i < fields.size(); ++i) {
        const RecordFields &record = fields[i];
        QVector<ReportCell> row{ReportCell(QStringLiteral("■"), ReportChart::overlayColor(i, fields.size())),
                                ReportCell(record.sample()), ReportCell(record.localTime()),
                                ReportCell(record.operatorName())};
        for (const QString &path : columns) {
            const ResultQuantity quantity = ResultText::quantity(path);
            row.append(ReportCell(text.value(resultAt(record.results(), path), quantity, false)));
        }
        row.append(ReportCell(record.verdictWord(), record.verdictColor()));
        recordTable.rows.append(row);
    }
    document.addTable(recordTable);
    return document;
}
