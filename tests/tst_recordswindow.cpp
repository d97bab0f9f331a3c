// Save, Open and Export as the operator runs them from the main window, through the
// file dialogs and message boxes.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include "app/mainwindow.h"
#include "chart/forceunit.h"
#include "records/datadir.h"
#include "modaldialogs.h"

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

struct Box
{
    QString title;
    QString text;
};

ModalStep cancel()
{
    return [](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); };
}

ModalStep note(Box &box)
{
    return [&box](QWidget *modal) {
        auto *messageBox = qobject_cast<QMessageBox *>(modal);
        QVERIFY(messageBox);
        box = {messageBox->windowTitle(), messageBox->text()};
        messageBox->accept();
    };
}

ModalStep answer(QMessageBox::StandardButton button, Box &box)
{
    return [button, &box](QWidget *modal) {
        auto *messageBox = qobject_cast<QMessageBox *>(modal);
        QVERIFY(messageBox);
        box = {messageBox->windowTitle(), messageBox->text()};
        messageBox->button(button)->click();
    };
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class RecordsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        plot = window->findChild<QCustomPlot *>(QStringLiteral("userPlot"));
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void cleanup()
    {
        window.reset();
        dir.reset();
    }

    void emptyChartIsRefused_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("save") << "actionSave";
        QTest::newRow("export") << "actionExport";
    }

    void emptyChartIsRefused()
    {
        QFETCH(QString, action);
        Box box;
        QCOMPARE(runModal([&] { trigger(action); }, {note(box), cancel()}), 1);
        QCOMPARE(box.title, QStringLiteral("Info"));
        QCOMPARE(box.text, QStringLiteral("The graph has no data!"));
    }

    void hiddenPointsCount_data() { emptyChartIsRefused_data(); }

    void hiddenPointsCount()
    {
        QFETCH(QString, action);
        addPoint(1, 5, 10);
        for (const char *box : {"forwardCheckBox", "returnCheckBox"})
            window->findChild<QCheckBox *>(QLatin1String(box))->click();
        QCOMPARE(runModal([&] { trigger(action); }, {[](QWidget *modal) {
                              QVERIFY(qobject_cast<QFileDialog *>(modal));
                              cancel()(modal);
                          }}),
                 1);
    }

    void saveThenOpen()
    {
        addPoint(0, 5.06, 12.3456);
        addPoint(0, 1.0, 2.0);
        addPoint(1, 3.0, -4.0);
        QStringList seen;
        QCOMPARE(runModal([&] { trigger("actionSave"); }, {choose(dir->filePath("curve"), 0, &seen)}), 1);
        QCOMPARE(seen.value(0), QStringLiteral("Save"));
        QCOMPARE(seen.value(1), dataDir());
        QVERIFY2(QRegularExpression(QStringLiteral("/\\d{4}(_\\d\\d){5}$")).match(seen.value(2)).hasMatch(), qPrintable(seen.value(2)));
        QCOMPARE(seen.value(3), QStringLiteral("*.txt"));
        // The name without a suffix takes the filter's.
        QByteArray expected = "Data Forward:\n1.0,2.000\n5.1,12.346\nData Return:\n3.0,-4.000\n";
#ifdef Q_OS_WIN
        expected.replace("\n", "\r\n");
#endif
        QCOMPARE(contents(dir->filePath("curve.txt")), expected);
        QCOMPARE(window->statusBar()->currentMessage(),
                 QStringLiteral("Saved 3 points to %1").arg(QDir::toNativeSeparators(dir->filePath("curve.txt"))));

        window->findChild<QPushButton *>(QStringLiteral("refreshBtn"))->click();
        plot->xAxis->setRange(-50, 500);
        QCOMPARE(runModal([&] { trigger("actionOpen"); }, {choose(dir->filePath("curve.txt"), 0, &seen)}), 1);
        QCOMPARE(seen.value(0), QStringLiteral("Open"));
        QCOMPARE(seen.value(1), dataDir());
        QCOMPARE(points(0), (QVector<QPointF>{{1, 2}, {double(5.1f), double(12.346f)}}));
        QCOMPARE(points(1), (QVector<QPointF>{{3, -4}}));
        QCOMPARE(plot->xAxis->range(), QCPRange(0, 100));
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Points loaded: 3."));
    }

    void openReportsSkippedLines()
    {
        writeFile(dir->filePath("edited.txt"), "Data Forward:\n1,2\nnote: by hand\n\nData Return:\n3,4\n3;4\n");
        QCOMPARE(runModal([&] { trigger("actionOpen"); }, {choose(dir->filePath("edited.txt"))}), 1);
        QCOMPARE(points(0), (QVector<QPointF>{{1, 2}}));
        QCOMPARE(points(1), (QVector<QPointF>{{3, 4}}));
        QCOMPARE(window->statusBar()->currentMessage(),
                 QStringLiteral("Points loaded: 2. Lines skipped: 2, the first is line 3."));
    }

    void badFileLeavesTheChart_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("picture") << QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0\x01\n\x01\x01\0H\0H\0\0", 21);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("headers only") << QByteArray("Data Forward:\nData Return:\n");
    }

    void badFileLeavesTheChart()
    {
        QFETCH(QByteArray, bytes);
        addPoint(0, 7, 8);
        plot->xAxis->setRange(-5, 500);
        const QString path = dir->filePath("picture.txt");
        writeFile(path, bytes);
        Box box;
        QCOMPARE(runModal([&] { trigger("actionOpen"); }, {choose(path), note(box)}), 2);
        QCOMPARE(box.title, QStringLiteral("Open"));
        QCOMPARE(box.text, QStringLiteral("%1 holds no test data.").arg(QDir::toNativeSeparators(path)));
        QCOMPARE(points(0), (QVector<QPointF>{{7, 8}}));
        QCOMPARE(plot->xAxis->range(), QCPRange(-5, 500));
    }

    void oldMacLineEndsOpen()
    {
        writeFile(dir->filePath("mac.txt"), "Data Forward:\r1,2\r5,6\rData Return:\r3,4\r");
        QCOMPARE(runModal([&] { trigger("actionOpen"); }, {choose(dir->filePath("mac.txt"))}), 1);
        QCOMPARE(points(0), (QVector<QPointF>{{1, 2}, {5, 6}}));
        QCOMPARE(points(1), (QVector<QPointF>{{3, 4}}));
    }

    void onlyRegularFilesAreOpened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("named pipe") << "fifo" << "It is a named pipe, not a file.";
        QTest::newRow("device") << "/dev/null" << "It is a device, not a file.";
    }

    void onlyRegularFilesAreOpened()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString path = kind;
        if (kind == QLatin1String("fifo")) {
            path = dir->filePath(QStringLiteral("pipe.txt"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        addPoint(0, 7, 8);
        // Should the window wait on the pipe, a writer comes after a while to end this test.
        std::atomic<bool> done{false};
        std::thread rescue([&] {
            for (int i = 0; i < 50 && !done; ++i)
                QThread::msleep(100);
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
        Box box;
        const int shown = runModal([&] { trigger("actionOpen"); }, {choose(path), note(box)});
        done = true;
        rescue.join();
        QCOMPARE(shown, 2);
        QCOMPARE(box.text, QStringLiteral("Could not open %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
        QCOMPARE(points(0), (QVector<QPointF>{{7, 8}}));
    }

    void exportThroughTheDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("upper-case PDF") << "chart.PDF" << 0 << "chart.PDF" << QByteArray("pdf");
        QTest::newRow("no suffix, bmp filter") << "chart" << 1 << "chart.bmp" << QByteArray("bmp");
    }

    void exportThroughTheDialog()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, format);
        addPoint(1, 10, 100);  // only return points
        QStringList seen;
        QCOMPARE(runModal([&] { trigger("actionExport"); }, {choose(dir->filePath(typed), filter, &seen), cancel()}), 1);
        QCOMPARE(seen.value(0), QStringLiteral("Export"));
        QCOMPARE(seen.value(3), QStringLiteral("*.jpg|*.bmp|*.pdf"));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(window->statusBar()->currentMessage(),
                 QStringLiteral("Chart exported to %1").arg(QDir::toNativeSeparators(dir->filePath(written))));
        if (format == "pdf") {
            QVERIFY(contents(dir->filePath(written)).startsWith("%PDF-"));
        } else {
            QImageReader reader(dir->filePath(written));
            QCOMPARE(reader.format(), format);
            QCOMPARE(reader.size(), plot->size());
        }
    }

    void addedSuffixAsksBeforeReplacing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("existing");
        QTest::newRow("save") << "actionSave" << 0 << "run1" << "run1.txt";
        QTest::newRow("export as PDF") << "actionExport" << 2 << "pic" << "pic.pdf";
    }

    void addedSuffixAsksBeforeReplacing()
    {
        QFETCH(QString, action);
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, existing);
        addPoint(0, 1, 2);
        const QString path = dir->filePath(existing);
        writeFile(path, "kept");
        Box box;
        QCOMPARE(runModal([&] { trigger(action); }, {choose(dir->filePath(typed), filter), answer(QMessageBox::No, box)}),
                 2);
        QVERIFY(box.text.startsWith(QDir::toNativeSeparators(path) + QStringLiteral(" already exists.")));
        QCOMPARE(contents(path), QByteArray("kept"));

        QCOMPARE(runModal([&] { trigger(action); }, {choose(dir->filePath(typed), filter), answer(QMessageBox::Yes, box)}),
                 2);
        QVERIFY(contents(path) != "kept");
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{existing});
    }

    void unsupportedSuffixIsExplained_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("four-letter JPEG suffix") << "chart.jpeg";
    }

    void unsupportedSuffixIsExplained()
    {
        QFETCH(QString, typed);
        addPoint(0, 10, 100);
        Box box;
        QCOMPARE(runModal([&] { trigger("actionExport"); }, {choose(dir->filePath(typed)), note(box)}), 2);
        QCOMPARE(box.title, QStringLiteral("Export"));
        QCOMPARE(box.text, QStringLiteral("%1 cannot be exported: the chart is exported as .jpg, .bmp or .pdf only.")
                               .arg(QDir::toNativeSeparators(dir->filePath(typed))));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
    }

private:
    void trigger(const QString &action) { window->findChild<QAction *>(action)->trigger(); }

    // A point as the acquisition thread delivers it, force in newtons.
    void addPoint(int stroke, double distance, double newtons)
    {
        QMetaObject::invokeMethod(window.get(), "receiveCurveData", Qt::DirectConnection, Q_ARG(int, stroke),
                                  Q_ARG(double, distance), Q_ARG(double, newtons));
    }

    QVector<QPointF> points(int stroke) const
    {
        QVector<QPointF> held;
        for (const QCPGraphData &point : *plot->graph(stroke)->data())
            held << QPointF(point.key, point.value);
        return held;
    }

    std::unique_ptr<MainWindow> window;
    QCustomPlot *plot = nullptr;
    std::unique_ptr<QTemporaryDir> dir;
};

QTEST_MAIN(RecordsWindowTest)
#include "tst_recordswindow.moc"
