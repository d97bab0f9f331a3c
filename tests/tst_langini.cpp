// Reading and writing the stored language choice.

#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/langini.h"
#include "app/startup.h"

namespace {
// An endless stream of one character that counts what was taken from it.
class EndlessLine : public QIODevice
{
public:
    EndlessLine() { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 served = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 size = qMin<qint64>(maxSize, 1 << 16);
        std::fill_n(data, size, 'x');
        served += size;
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
};

QBuffer *textBuffer(const QByteArray &content, QObject *parent)
{
    auto *buffer = new QBuffer(parent);
    buffer->setData(content);
    buffer->open(QIODevice::ReadOnly | QIODevice::Text);
    return buffer;
}
} // namespace

class LangIniTest : public QObject
{
    Q_OBJECT

private slots:
    void readers_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("startup");
        QTest::addColumn<int>("dialog");
        QTest::newRow("english") << QByteArray("Language:1") << 1 << 1;
        QTest::newRow("chinese") << QByteArray("Language:2") << 2 << 2;
        QTest::newRow("windows line end") << QByteArray("Language:2\r\n") << 2 << 2;
        QTest::newRow("unix line end") << QByteArray("Language:2\n") << 2 << 2;
        QTest::newRow("system") << QByteArray("Language:0") << 0 << 0;
        QTest::newRow("out of range") << QByteArray("Language:3") << 0 << 3;
        QTest::newRow("empty value") << QByteArray("Language:") << 0 << 0;
        QTest::newRow("not a number") << QByteArray("Language:zh") << 0 << 0;
        QTest::newRow("blanks around") << QByteArray("Language:  2  ") << 2 << 2;
        QTest::newRow("empty file") << QByteArray() << 0 << 0;
        QTest::newRow("no counting line") << QByteArray("language:2\nLang:2\n") << 0 << 0;
        QTest::newRow("anywhere in the line") << QByteArray("# Language:2") << 2 << 2;
        QTest::newRow("later line decides at start")
            << QByteArray("Language:0\nLanguage:7\nLanguage:2\nLanguage:1\n") << 2 << 0;
        QTest::newRow("first counting line for the dialog")
            << QByteArray("Language:5\nLanguage:2\n") << 2 << 5;
        QTest::newRow("further colons") << QByteArray("Language:1:2") << 0 << 0;
        const QByteArray filler(4000, '#');
        QTest::newRow("within the size limit") << filler + "\nLanguage:2\n" << 2 << 2;
        QTest::newRow("cut by the size limit") << filler + filler + "\nLanguage:2\n" << 0 << 0;
        QTest::newRow("value cut by the size limit")
            << QByteArray(LangIni::MaxFileBytes - 10, '#') + "\nLanguage:12\n" << 0 << 0;
    }

    void readers()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, startup);
        QFETCH(int, dialog);
        QCOMPARE(LangIni::startupChoice(*textBuffer(content, this)), startup);
        QCOMPARE(LangIni::dialogChoice(*textBuffer(content, this)), dialog);
    }

    void endlessLineIsReadOnlyToTheLimit()
    {
        EndlessLine line;
        QCOMPARE(LangIni::startupChoice(line), int(LangIni::System));
        QVERIFY2(line.served <= LangIni::MaxFileBytes + 1, qPrintable(QString::number(line.served)));
    }

    void onlyRegularFilesAreRead()
    {
        QTemporaryDir dir;
        const QString stored = dir.filePath(QStringLiteral("lang.ini"));
        QFile file(stored);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Language:2");
        file.close();
        QCOMPARE(LangIni::readChoice(stored, LangIni::startupChoice), int(LangIni::Chinese));
        QCOMPARE(LangIni::readChoice(dir.filePath(QStringLiteral("none.ini")), LangIni::startupChoice),
                 int(LangIni::System));

        // A named pipe nobody writes to would block the start for good. Should the
        // reader wait on it, a writer comes after a while to end this test.
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo.ini")));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        std::atomic<bool> done{false};
        std::thread rescue([&] {
            for (int i = 0; i < 50 && !done; ++i)
                QThread::msleep(100);
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::write(fd, "Language:2", 10);
                ::close(fd);
            }
        });
        const int choice = LangIni::readChoice(QFile::decodeName(fifo), LangIni::dialogChoice);
        done = true;
        rescue.join();
        QCOMPARE(choice, int(LangIni::System));
    }

    void writtenContentReadsBack()
    {
        for (int index : {0, 1, 2}) {
            const QByteArray content = LangIni::content(index);
            QCOMPARE(content.size(), 10);  // no line end
            QCOMPARE(LangIni::dialogChoice(*textBuffer(content, this)), index);
        }
        QCOMPARE(LangIni::content(2), QByteArray("Language:2"));
    }

    void storedChoiceOverridesTheLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        QVERIFY(startsInChinese(LangIni::System));
        QVERIFY(!startsInChinese(LangIni::English));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(!startsInChinese(LangIni::System));
        QVERIFY(startsInChinese(LangIni::Chinese));
        QLocale::setDefault(saved);
    }
};

QTEST_GUILESS_MAIN(LangIniTest)
#include "tst_langini.moc"
