// The report layout read back as a reader's tools see it: pdfinfo for the pages,
// pdftotext for what stands on each.

#include <QtTest>
#include <QPrinter>
#include <qcustomplot.h>

#include "report/reportchart.h"
#include "report/reportdocument.h"
#include "tests/pdftext.h"

class ReportDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void longTableContinuesWithItsHeader();
    void chineseTextIsEmbedded();
    void unwritableFileIsReported();
    void printerGetsTheSamePages();

private:
    QTemporaryDir dir;
};

void ReportDocumentTest::longTableContinuesWithItsHeader()
{
    ReportDocument document;
    document.setFooterText(QStringLiteral("footer text"));
    document.addTitle(QStringLiteral("Lab"), QStringLiteral("Long table"));
    ReportTable table;
    table.header = QStringList{QStringLiteral("Record"), QStringLiteral("Value")};
    for (int i = 1; i <= 120; ++i)
        table.rows.append({ReportCell(QStringLiteral("row-%1").arg(i)), ReportCell(QString::number(i))});
    document.addTable(table);
    document.addSignatures({QStringLiteral("Tested by")});

    const QString path = dir.filePath(QStringLiteral("long.pdf"));
    QString error;
    const int pages = writeReportPdf(document, path, QStringLiteral("Long"), error);
    QVERIFY2(pages > 1, qPrintable(error));
    QCOMPARE(pdfPageCount(path), pages);

    int rowsSeen = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfText(path, page);
        QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("footer text")));
        // Every page the table reaches starts with its header.
        if (text.contains(QStringLiteral("row-")))
            QVERIFY2(text.contains(QStringLiteral("Record")), qPrintable(QString::number(page)));
        rowsSeen += text.count(QRegularExpression(QStringLiteral("\\brow-\\d+\\b")));
    }
    QCOMPARE(rowsSeen, 120);
    QVERIFY(pdfText(path, pages).contains(QStringLiteral("Tested by")));
}

void ReportDocumentTest::chineseTextIsEmbedded()
{
    ReportDocument document;
    document.addTitle(QStringLiteral("实验室"), QStringLiteral("测试报告"));
    document.addFields({{QStringLiteral("样品"), QStringLiteral("批次-七")}});
    std::unique_ptr<QCustomPlot> plot = ReportChart::record(TestRecord(), 0);
    plot->xAxis->setLabel(QStringLiteral("位移 (mm)"));
    document.addChart(std::move(plot), 80);
    const QString path = dir.filePath(QStringLiteral("cn.pdf"));
    QString error;
    QCOMPARE(writeReportPdf(document, path, QStringLiteral("cn"), error), 1);
    const QString text = pdfText(path, 1);
    for (const char *expected : {"实验室", "测试报告", "样品", "批次-七", "位移 (mm)"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
}

void ReportDocumentTest::unwritableFileIsReported()
{
    ReportDocument document;
    document.addText(QStringLiteral("x"));
    QString error;
    QCOMPARE(writeReportPdf(document, dir.filePath(QStringLiteral("missing/folder/r.pdf")), QString(), error), 0);
    QVERIFY(!error.isEmpty());
}

// File > Print hands the pages to a printer of its own resolution.
void ReportDocumentTest::printerGetsTheSamePages()
{
    ReportDocument document;
    ReportTable table;
    table.header = QStringList{QStringLiteral("Record")};
    for (int i = 1; i <= 90; ++i)
        table.rows.append({ReportCell(QStringLiteral("row-%1").arg(i))});
    TestRecord record;
    record.forward = {{0, 0}, {10, 100}};
    document.addChart(ReportChart::record(record, 0), 100);
    document.addTable(table);
    QString error;
    const int written = writeReportPdf(document, dir.filePath(QStringLiteral("written.pdf")), QString(), error);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    setReportPage(printer);
    QVERIFY(printer.resolution() != 600);
    QCOMPARE(document.print(printer), written);
    QCOMPARE(pdfPageCount(printer.outputFileName()), written);
    const QString last = pdfText(printer.outputFileName(), written);
    QVERIFY(last.contains(QStringLiteral("row-90")));
    QVERIFY(last.contains(QStringLiteral("Page %1 of %1").arg(written)));
}

QTEST_MAIN(ReportDocumentTest)
#include "tst_reportdocument.moc"
