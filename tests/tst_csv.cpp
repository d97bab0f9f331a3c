// The CSV writer read back by an RFC 4180 reader: quoting, the formula guard and
// numbers that stay numbers in any locale.

#include "report/csv.h"
#include "tests/csvreader.h"

#include <QBuffer>
#include <QtTest>

class CsvTest : public QObject
{
    Q_OBJECT

private slots:
    void readsBackAsWritten()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CsvWriter csv(buffer);
        csv.text(QStringLiteral("=HYPERLINK(\"http://x\")")).text(QStringLiteral("+1")).text(QStringLiteral("-2"))
            .text(QStringLiteral("@SUM(A1)")).text(QStringLiteral("\tx")).text(QStringLiteral("a,b"))
            .text(QStringLiteral("say \"hi\"\nnext line")).text(QStringLiteral("Prüfling ä")).text(QStringLiteral("a=b"))
            .endRow();
        csv.number(-1.5).number(0.1).number(1e-300).number(qint64(-42)).number(qQNaN()).empty().text(QString()).endRow();
        QVERIFY(csv.ok());
        QLocale::setDefault(QLocale::c());

        const QVector<QStringList> rows = readCsv(QString::fromUtf8(buffer.data()));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0), (QStringList{QStringLiteral("'=HYPERLINK(\"http://x\")"), QStringLiteral("'+1"),
                                          QStringLiteral("'-2"), QStringLiteral("'@SUM(A1)"), QStringLiteral("'\tx"),
                                          QStringLiteral("a,b"), QStringLiteral("say \"hi\"\nnext line"),
                                          QStringLiteral("Prüfling ä"), QStringLiteral("a=b")}));
        // Numbers stay unquoted numbers, negative ones too.
        QCOMPARE(rows.at(1), (QStringList{QStringLiteral("-1.5"), QStringLiteral("0.1"), QStringLiteral("1e-300"),
                                          QStringLiteral("-42"), QString(), QString(), QString()}));
        QVERIFY(buffer.data().endsWith("\r\n-1.5,0.1,1e-300,-42,,,\r\n"));
    }
};

QTEST_GUILESS_MAIN(CsvTest)
#include "tst_csv.moc"
