// The test data file: number text, writer and reader on buffers and real files, and
// the default place and name of saved files.

#include <QtTest>

#include <limits>
#include <csignal>
#include <sys/resource.h>

#include <random>
#include <unistd.h>

#include "chart/forceunit.h"
#include "records/datadir.h"
#include "records/fixednumber.h"
#include "records/testdatafile.h"

using Points = QVector<QPointF>;

namespace {

// The file as this host writes it, from text with "\n" line ends.
QByteArray hostLines(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

QByteArray fixedText(double value, int decimals)
{
    char text[FixedNumberMaxLength];
    return QByteArray(text, int(writeFixed(text, value, decimals) - text));
}

QByteArray writtenBytes(const TestData &data, uint8_t unit, int decimals)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeTestData(buffer, data, unit, decimals))
        return "write failed";
    return buffer.data();
}

TestDataReading readBytes(const QByteArray &bytes, uint8_t unit)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readTestData(buffer, unit);
}

// Hands out one byte per read, as a slow pipe may: every line end falls between reads.
class ByteByByte : public QIODevice
{
public:
    explicit ByteByByte(const QByteArray &bytes)
        : bytes(bytes)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64) override
    {
        if (at == bytes.size())
            return 0;
        *data = bytes[at++];
        return 1;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray bytes;
    int at = 0;
};

// A point as the reader gives it: both numbers pass through single precision.
QPointF fromFile(float distance, float shownForce)
{
    return QPointF(double(distance), double(shownForce));
}

// A device that takes `capacity` bytes and then fails, like a full disk, or that
// fails on reading.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 capacity)
        : capacity(capacity)
    {
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (size > capacity)
            return -1;
        capacity -= size;
        return size;
    }

private:
    qint64 capacity;
};

} // namespace

class TestDataFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { ForceUnit::resetDisplayState(); }

    void fixedNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("distance 5.06") << 5.06 << 1 << QByteArray("5.1");
        QTest::newRow("force 12.3456") << 12.3456 << 3 << QByteArray("12.346");
        QTest::newRow("no decimals") << 19.6 << 0 << QByteArray("20");
        // Exact halves round away from zero, as QString::number does.
        QTest::newRow("half at 1 decimal") << 12.25 << 1 << QByteArray("12.3");
        QTest::newRow("half at 2 decimals") << 0.125 << 2 << QByteArray("0.13");
        QTest::newRow("negative half") << -0.375 << 2 << QByteArray("-0.38");
        QTest::newRow("half at no decimals") << 2.5 << 0 << QByteArray("3");
        QTest::newRow("half carries into a new digit") << 99.5 << 0 << QByteArray("100");
        QTest::newRow("negative half carries") << -9.75 << 1 << QByteArray("-9.8");
        QTest::newRow("half at 9 decimals") << 1023.0 / 1024 << 9 << QByteArray("0.999023438");
        // Just below a half in binary, so rounded down.
        QTest::newRow("1.005") << 1.005 << 2 << QByteArray("1.00");
        QTest::newRow("2.675") << 2.675 << 2 << QByteArray("2.67");
        QTest::newRow("0.15, a product of exactly 1.5") << 0.15 << 1 << QByteArray("0.1");
        QTest::newRow("leading zeros of the decimals") << -0.0049 << 3 << QByteArray("-0.005");
        QTest::newRow("half beyond whole-number range") << 4503599627370495.5 << 0 << QByteArray("4503599627370496");
        QTest::newRow("negative zero") << -0.0 << 1 << QByteArray("0.0");
        QTest::newRow("small negative keeps its sign") << -0.04 << 1 << QByteArray("-0.0");
        QTest::newRow("no grouping, no exponent") << 1e20 << 3 << QByteArray("100000000000000000000.000");
        QTest::newRow("largest") << -1.7976931348623157e308 << 9
                                 << QByteArray("-1797693134862315708145274237317043567980705675258449965989174768031572607800285"
                                               "3876058955863276687817154045895351438246423432132688946418276846754670353751698"
                                               "6049910576551282076245490090389328944075868508455133942304583236903222948165808"
                                               "559332123348274797826204144723168738177180919299881250404026184124858368.000000000");
    }

    void fixedNumber()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QByteArray, text);
        QCOMPARE(fixedText(value, decimals), text);
    }

    void fixedNumberMatchesQt()
    {
        // Arbitrary doubles, forces from single precision, halves in binary, and
        // values typed in decimal, which lie closest to the halves.
        std::mt19937_64 random(20240307);
        std::uniform_real_distribution<double> span(-5000.0, 5000.0);
        for (int i = 0; i < 400000; ++i) {
            double value = span(random);
            if (i % 4 == 1)
                value = double(float(value));
            else if (i % 4 == 2)
                value = std::round(value * 4096) / 4096;
            else if (i % 4 == 3)
                value = std::round(value * 1e5) / std::pow(10.0, double(random() % 10));
            const int decimals = i % (FixedNumberMaxDecimals + 1);
            const QByteArray qt = QByteArray::number(value, 'f', decimals);
            if (fixedText(value, decimals) != qt)
                QFAIL(qPrintable(QStringLiteral("%1 with %2 decimals: %3, not %4")
                                     .arg(value, 0, 'g', 17).arg(decimals)
                                     .arg(QString::fromLatin1(fixedText(value, decimals)), QString::fromLatin1(qt))));
        }
    }

    void write_data()
    {
        QTest::addColumn<Points>("forward");
        QTest::addColumn<Points>("back");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty chart") << Points{} << Points{} << 0 << 3 << QByteArray("Data Forward:\nData Return:\n");
        QTest::newRow("only return points") << Points{} << Points{{1, 2}, {3, 4}} << 0 << 3
                                            << QByteArray("Data Forward:\nData Return:\n1.0,2.000\n3.0,4.000\n");
        QTest::newRow("N rounds") << Points{{5.06, 12.3456}} << Points{{0, -7}} << 0 << 3
                                  << QByteArray("Data Forward:\n5.1,12.346\nData Return:\n0.0,-7.000\n");
        QTest::newRow("N keeps double precision") << Points{{0, 1234.56789}} << Points{} << 0 << 5
                                                  << QByteArray("Data Forward:\n0.0,1234.56789\nData Return:\n");
        QTest::newRow("kg, 3 decimals") << Points{{0, 2.0}} << Points{} << 1 << 3
                                        << QByteArray("Data Forward:\n0.0,19.60\nData Return:\n");
        QTest::newRow("kg, no decimals") << Points{{0, 2.0}} << Points{} << 1 << 0
                                         << QByteArray("Data Forward:\n0.0,20\nData Return:\n");
        QTest::newRow("kg, 1 decimal") << Points{{0, 2.0}} << Points{} << 1 << 1
                                       << QByteArray("Data Forward:\n0.0,20\nData Return:\n");
        // 10 lb = 10 / 2.2046 * 9.8 N, in single precision 44.45251...
        QTest::newRow("lb, 3 decimals") << Points{} << Points{{2.5, 10}} << 2 << 3
                                        << QByteArray("Data Forward:\nData Return:\n2.5,44.45\n");
        QTest::newRow("decimals beyond 9") << Points{{0, 0.5}} << Points{} << 0 << 12
                                           << QByteArray("Data Forward:\n0.0,0.500000000\nData Return:\n");
        QTest::newRow("negative decimals") << Points{{0, 1.5}} << Points{{1, 1.0}} << 0 << -2
                                           << QByteArray("Data Forward:\n0.0,2\nData Return:\n1.0,1\n");
    }

    void write()
    {
        QFETCH(Points, forward);
        QFETCH(Points, back);
        QFETCH(int, unit);
        QFETCH(int, decimals);
        QFETCH(QByteArray, text);
        QCOMPARE(writtenBytes({forward, back}, uint8_t(unit), decimals), hostLines(text));
    }

    void writeReportsAFailingDevice_data()
    {
        QTest::addColumn<qint64>("capacity");
        QTest::newRow("fails at once") << qint64(0);
        QTest::newRow("fails after the first block") << qint64(1 << 16);
        QTest::newRow("fails at the last bytes") << qint64(-1);
    }

    void writeReportsAFailingDevice()
    {
        QFETCH(qint64, capacity);
        TestData data;
        for (int i = 0; i < 20000; ++i)
            data.forwardStroke.append(QPointF(i * 0.1, i * 0.5));
        const qint64 size = writtenBytes(data, ForceUnit::Newton, 3).size();
        FailingDevice device(capacity < 0 ? size - 1 : capacity);
        device.open(QIODevice::WriteOnly);
        QVERIFY(!writeTestData(device, data, ForceUnit::Newton, 3));

        FailingDevice enough(size);
        enough.open(QIODevice::WriteOnly);
        QVERIFY(writeTestData(enough, data, ForceUnit::Newton, 3));
    }

    void nonFiniteValuesAreNeverWritten()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const TestData data{{{nan, 1}, {1, 2}, {2, -inf}}, {{3, 4}, {inf, 5}}};
        QCOMPARE(writtenBytes(data, ForceUnit::Newton, 1), hostLines("Data Forward:\n1.0,2.0\nData Return:\n3.0,4.0\n"));
        // A force that outgrows single precision on its way back to newtons.
        const TestData huge{{{1, 3.0e38}}, {}};
        QCOMPARE(writtenBytes(huge, ForceUnit::Pound, 1), hostLines("Data Forward:\nData Return:\n"));
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("unit");
        QTest::addColumn<Points>("forward");
        QTest::addColumn<Points>("back");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<int>("firstSkipped");
        QTest::addColumn<bool>("held");

        const Points one{{1, 2}};
        const Points two{{3, 4}};
        QTest::newRow("LF") << QByteArray("Data Forward:\n1.0,2.000\nData Return:\n3.0,4.000\n") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("CR LF") << QByteArray("Data Forward:\r\n1.0,2.000\r\nData Return:\r\n3.0,4.000\r\n") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("CR") << QByteArray("Data Forward:\r1.0,2.000\rData Return:\r3.0,4.000\r") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("line ends mixed") << QByteArray("Data Forward:\r\n1,2\rx\n\rData Return:\n3,4") << 0 << one << two << 1 << 3 << true;
        QTest::newRow("no last line end") << QByteArray("Data Forward:\n1.0,2.0\nData Return:\n3.0,4.0") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("return header with trailing text") << QByteArray("Data Forward:\n1,2\nData Return: 1 point\n3,4\n") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("header inside a line") << QByteArray("Data Return:\n3,4\n-- Data Forward: --\n1,2\n") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("headers are case-sensitive") << QByteArray("Data Forward:\n1,2\ndata return:\n3,4\n") << 0 << Points{{1, 2}, {3, 4}} << Points{} << 1 << 3 << true;
        QTest::newRow("points before a header are forward") << QByteArray("1,2\nData Return:\n3,4\n") << 0 << one << two << 0 << 0 << true;
        QTest::newRow("only headers") << QByteArray("Data Forward:\nData Return:\n") << 0 << Points{} << Points{} << 0 << 0 << true;
        QTest::newRow("blank lines pass") << QByteArray("Data Forward:\n\n \t\r\n1,2\r\n\nData Return:\n\n") << 0 << one << Points{} << 0 << 0 << true;
        QTest::newRow("blanks around numbers") << QByteArray(" 1.0 ,\t2.0 \n") << 0 << one << Points{} << 0 << 0 << true;
        QTest::newRow("single precision") << QByteArray("12.3,45.678\n") << 0 << Points{fromFile(12.3f, 45.678f)} << Points{} << 0 << 0 << true;
        QTest::newRow("sign and exponent") << QByteArray("+1e1,-2.5E-1\n") << 0 << Points{{10, -0.25}} << Points{} << 0 << 0 << true;
        QTest::newRow("unreadable lines are counted")
            << QByteArray("Data Forward:\n1,2\nhello\n1;2\n1,2,3\n,2\n1,\n1.0.0,2\n1,2x\n0x10,1\n+-1,2\n3,4\n")
            << 0 << Points{{1, 2}, {3, 4}} << Points{} << 9 << 3 << true;
        QTest::newRow("no number beyond single precision") << QByteArray("1e39,1\nnan,1\n1,inf\n1e999,1\n") << 0 << Points{} << Points{} << 4 << 1 << false;
        QTest::newRow("kg") << QByteArray("Data Forward:\n1,98\n") << 1 << Points{{1, 10}} << Points{} << 0 << 0 << true;
        QTest::newRow("lb") << QByteArray("Data Forward:\n1,98\n") << 2 << Points{fromFile(1, float(98 / 9.8 * 2.2046))} << Points{} << 0 << 0 << true;
        QTest::newRow("unknown unit shows 0") << QByteArray("1,98\n") << 7 << Points{{1, 0}} << Points{} << 0 << 0 << true;
        QTest::newRow("byte order mark before a header") << QByteArray("\xEF\xBB\xBF" "Data Forward:\n1,2\n") << 0 << one << Points{} << 0 << 0 << true;
        QTest::newRow("byte order mark before a point") << QByteArray("\xEF\xBB\xBF" "1,2\n") << 0 << one << Points{} << 0 << 0 << true;
        QTest::newRow("empty file") << QByteArray() << 0 << Points{} << Points{} << 0 << 0 << false;
        static const char picture[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\xff\xd8,\xff\n\0\x01";
        QTest::newRow("picture") << QByteArray(picture, sizeof picture - 1) << 0 << Points{} << Points{} << 5 << 1 << false;
    }

    void read()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, unit);
        QFETCH(Points, forward);
        QFETCH(Points, back);
        QFETCH(int, skipped);
        QFETCH(int, firstSkipped);
        QFETCH(bool, held);
        const TestDataReading reading = readBytes(text, uint8_t(unit));
        QCOMPARE(reading.data.forwardStroke, forward);
        QCOMPARE(reading.data.returnStroke, back);
        QCOMPARE(reading.skippedLines, skipped);
        QCOMPARE(reading.firstSkippedLine, firstSkipped);
        QCOMPARE(reading.heldTestData, held);
        QVERIFY(reading.error.isEmpty());

        ByteByByte slow(text);
        const TestDataReading trickled = readTestData(slow, uint8_t(unit));
        QCOMPARE(trickled.data.forwardStroke, forward);
        QCOMPARE(trickled.data.returnStroke, back);
        QCOMPARE(trickled.firstSkippedLine, firstSkipped);
    }

    void readLinesLongerThanItsBuffer()
    {
        const QByteArray text = "Data Forward:\n1,2\nData Return:" + QByteArray(3 << 20, 'x') + "\n3,4\n" + QByteArray(3 << 20, '7');
        const TestDataReading reading = readBytes(text, ForceUnit::Newton);
        QCOMPARE(reading.data.forwardStroke, (Points{{1, 2}}));
        QCOMPARE(reading.data.returnStroke, (Points{{3, 4}}));
        QCOMPARE(reading.skippedLines, 1);
        QCOMPARE(reading.firstSkippedLine, 5);
    }

    void readReportsADeviceError()
    {
        FailingDevice device(0);
        device.open(QIODevice::ReadOnly);
        QVERIFY(!readTestData(device, ForceUnit::Newton).error.isEmpty());
    }

    void roundTrip()
    {
        // Enough points that lines cross the reader's buffer boundaries; equal
        // distances keep their order.
        TestData saved;
        for (int i = 0; i < 150000; ++i) {
            saved.forwardStroke.append(QPointF(i / 1000 * 0.1 + 0.04, std::sin(i) * 2000));
            saved.returnStroke.append(QPointF(i * 0.0375, -i * 0.0123456));
        }
        const QByteArray text = writtenBytes(saved, ForceUnit::Newton, 3);

        const TestDataReading inNewtons = readBytes(text, ForceUnit::Newton);
        const TestDataReading inKilograms = readBytes(text, ForceUnit::Kilogram);
        QCOMPARE(inNewtons.skippedLines, 0);
        QCOMPARE(inNewtons.data.forwardStroke.size(), saved.forwardStroke.size());
        QCOMPARE(inNewtons.data.returnStroke.size(), saved.returnStroke.size());
        for (const auto stroke : {&TestData::forwardStroke, &TestData::returnStroke}) {
            for (int i = 0; i < (saved.*stroke).size(); ++i) {
                const QPointF point = (saved.*stroke)[i];
                const float distance = QString::number(point.x(), 'f', 1).toFloat();
                const float newtons = QString::number(point.y(), 'f', 3).toFloat();
                const QPointF gotN = (inNewtons.data.*stroke)[i];
                const QPointF gotKg = (inKilograms.data.*stroke)[i];
                if (gotN.x() != double(distance) || gotN.y() != double(newtons)
                    || gotKg.x() != double(distance) || gotKg.y() != double(ForceUnit::fromNewtons(newtons, ForceUnit::Kilogram)))
                    QFAIL(qPrintable(QStringLiteral("point %1: %2,%3 read as %4,%5 in N and %6 in kg")
                                         .arg(i).arg(point.x()).arg(point.y()).arg(gotN.x()).arg(gotN.y()).arg(gotKg.y())));
            }
        }
    }

    void realFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("test.txt"));
        QCOMPARE(saveTestDataFile(path, {{{1, 2}}, {{3, 4}}}, ForceUnit::Newton, 1), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), hostLines("Data Forward:\n1.0,2.0\nData Return:\n3.0,4.0\n"));
        file.close();

        // Saving again replaces the file; opening gives the points back.
        QCOMPARE(saveTestDataFile(path, {{}, {{5, 6}}}, ForceUnit::Newton, 1), QString());
        const TestDataReading reading = openTestDataFile(path, ForceUnit::Newton);
        QCOMPARE(reading.data.forwardStroke, Points{});
        QCOMPARE(reading.data.returnStroke, (Points{{5, 6}}));
        QVERIFY(reading.error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"test.txt"});
    }

    void failedFilesSayWhy()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no/such/dir/test.txt"));
        QVERIFY(!saveTestDataFile(missing, {}, ForceUnit::Newton, 3).isEmpty());
        QVERIFY(!QFile::exists(missing));
        const TestDataReading reading = openTestDataFile(missing, ForceUnit::Newton);
        QVERIFY(!reading.error.isEmpty());
        QVERIFY(!reading.heldTestData);
    }

    void fullDiskSaysWhy()
    {
        // Past the size limit a write fails as on a full disk, with a reason of the system's own.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("test.txt"));
        TestData data;
        for (int i = 0; i < 100000; ++i)
            data.forwardStroke.append(QPointF(i, i));
        rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small{1 << 16, saved.rlim_max};
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString error = saveTestDataFile(path, data, ForceUnit::Newton, 3);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(error, qt_error_string(EFBIG));
        QVERIFY(!QFile::exists(path));
    }

    void failedSaveKeepsTheOlderFile()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("test.txt"));
        QCOMPARE(saveTestDataFile(path, {{{1, 2}}, {}}, ForceUnit::Newton, 0), QString());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString error = saveTestDataFile(path, {{}, {{3, 4}}}, ForceUnit::Newton, 0);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!error.isEmpty());
        QCOMPARE(openTestDataFile(path, ForceUnit::Newton).data.forwardStroke, (Points{{1, 2}}));
    }

    void dataDirChoice()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("bin"));
        const QString user = dir.filePath(QStringLiteral("user"));
        QVERIFY(QDir().mkpath(program));
        QCOMPARE(dataDirFor(program, user), program + "/Data");
        QVERIFY(QFileInfo(program + "/Data").isDir());
        QVERIFY(!QFileInfo::exists(user));

        // A folder inside a plain file cannot be created by anyone, root included.
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(dataDirFor(plain.fileName() + "/bin", user), user + "/Data");
        QVERIFY(QFileInfo(user + "/Data").isDir());
    }

    void fileStampText_data()
    {
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("afternoon") << QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)) << "2024_03_07_14_05_09";
        QTest::newRow("midnight") << QDateTime(QDate(1999, 12, 31), QTime(0, 0, 0)) << "1999_12_31_00_00_00";
        QTest::newRow("last second") << QDateTime(QDate(2030, 1, 1), QTime(23, 59, 59)) << "2030_01_01_23_59_59";
    }

    void fileStampText()
    {
        QFETCH(QDateTime, at);
        QFETCH(QString, stamp);
        QCOMPARE(fileStamp(at), stamp);
    }
};

QTEST_MAIN(TestDataFileTest)
#include "tst_testdatafile.moc"
