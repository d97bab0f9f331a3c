// Chart export: the format a chosen name asks for, and the files QCustomPlot writes.

#include <QtTest>
#include <qcustomplot.h>

#include "chart/curveplot.h"
#include "chart/forceunit.h"
#include "records/chartexport.h"

Q_DECLARE_METATYPE(ChartFormat)

namespace {

int pageCount(const QByteArray &pdf)
{
    return pdf.count("/Type /Page") - pdf.count("/Type /Pages");
}

} // namespace

class ChartExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ForceUnit::resetDisplayState(); }

    void init()
    {
        plot = std::make_unique<QCustomPlot>();
        plot->resize(640, 480);
        curves = std::make_unique<CurvePlot>(plot.get());
        curves->init();
        // Only return points, well away from the legend in the top right corner.
        for (int distance = 10; distance <= 60; ++distance)
            curves->addPoint(CurvePlot::Return, distance, distance % 2 ? 0 : 100);
        plot->show();
        QVERIFY(QTest::qWaitForWindowExposed(plot.get()));
    }

    void target_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("path");
        QTest::addColumn<ChartFormat>("format");
        QTest::newRow("jpg") << "/d/a.jpg" << "*.jpg" << "/d/a.jpg" << ChartFormat::Jpg;
        QTest::newRow("bmp in mixed case") << "/d/a.Bmp" << "*.jpg" << "/d/a.Bmp" << ChartFormat::Bmp;
        QTest::newRow("upper-case PDF") << "/d/a.PDF" << "*.jpg" << "/d/a.PDF" << ChartFormat::Pdf;
        QTest::newRow("four-letter JPEG suffix") << "/d/a.jpeg" << "*.jpg" << "/d/a.jpeg" << ChartFormat::Unsupported;
        QTest::newRow("png") << "/d/a.png" << " *.bmp" << "/d/a.png" << ChartFormat::Unsupported;
        QTest::newRow("no suffix, first filter") << "/d/2024_03_07" << "*.jpg" << "/d/2024_03_07.jpg" << ChartFormat::Jpg;
        QTest::newRow("no suffix, filter with a blank") << "/d/a" << " *.bmp" << "/d/a.bmp" << ChartFormat::Bmp;
        QTest::newRow("no suffix, no filter") << "/d/a" << "" << "/d/a" << ChartFormat::Unsupported;
        QTest::newRow("point in a folder name") << "/d.pdf/a" << "*.bmp" << "/d.pdf/a.bmp" << ChartFormat::Bmp;
    }

    void target()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, filter);
        QFETCH(QString, path);
        QFETCH(ChartFormat, format);
        const ExportTarget target = exportTarget(chosen, filter);
        QCOMPARE(target.path, path);
        QCOMPARE(target.format, format);
    }

    void rasterFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("readerFormat");
        QTest::newRow("jpg") << "chart.jpg" << QByteArray("jpeg");
        QTest::newRow("bmp") << "chart.BMP" << QByteArray("bmp");
    }

    void rasterFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, readerFormat);
        QTemporaryDir dir;
        const ExportTarget target = exportTarget(dir.filePath(name), QString());
        QVERIFY(exportChart(*plot, target));
        QImageReader reader(target.path);
        QCOMPARE(reader.format(), readerFormat);
        const QImage image = reader.read();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), plot->size());
    }

    void pdfFile()
    {
        QTemporaryDir dir;
        const ExportTarget target = exportTarget(dir.filePath(QStringLiteral("chart")), QStringLiteral(" *.pdf"));
        QVERIFY(exportChart(*plot, target));
        QFile file(target.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pageCount(pdf), 1);
    }

    void hiddenGraphsAreLeftOut()
    {
        QTemporaryDir dir;
        const auto exported = [&](const QString &name) {
            const ExportTarget target = exportTarget(dir.filePath(name), QString());
            return exportChart(*plot, target) ? QImage(target.path) : QImage();
        };
        const QImage shown = exported(QStringLiteral("shown.bmp"));
        curves->setStrokeVisible(CurvePlot::Forward, false);
        curves->setStrokeVisible(CurvePlot::Return, false);
        const QImage hidden = exported(QStringLiteral("hidden.bmp"));
        curves->clear();
        const QImage empty = exported(QStringLiteral("empty.bmp"));
        QVERIFY(!empty.isNull());
        QVERIFY(shown != empty);
        QCOMPARE(hidden, empty);
    }

    void failuresWriteNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("qtWarning");
        QTest::newRow("jpg into a missing folder") << "missing/chart.jpg" << QByteArray();
        QTest::newRow("bmp into a missing folder") << "missing/chart.bmp" << QByteArray();
        QTest::newRow("pdf into a missing folder") << "missing/chart.pdf" << QByteArray("QPainter::begin(): Returned false");
        QTest::newRow("unsupported suffix") << "chart.jpeg" << QByteArray();
    }

    void failuresWriteNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, qtWarning);
        if (!qtWarning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qtWarning.constData());
        QTemporaryDir dir;
        QVERIFY(!exportChart(*plot, exportTarget(dir.filePath(name), QStringLiteral("*.jpg"))));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

private:
    std::unique_ptr<QCustomPlot> plot;
    std::unique_ptr<CurvePlot> curves;
};

QTEST_MAIN(ChartExportTest)
#include "tst_chartexport.moc"
