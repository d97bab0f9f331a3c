// Reading and writing the stored language choice.

#include <QtTest>

#include "app/langini.h"
#include "app/startup.h"

namespace {
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
    }

    void readers()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, startup);
        QFETCH(int, dialog);
        QCOMPARE(LangIni::startupChoice(*textBuffer(content, this)), startup);
        QCOMPARE(LangIni::dialogChoice(*textBuffer(content, this)), dialog);
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
