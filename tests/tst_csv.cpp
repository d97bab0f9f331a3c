// The CSV writer read back by an RFC 4180 reader: quoting, the formula guard and
// numbers that stay numbers in any locale.

#include "report/csv.h"

#include <QBuffer>
#include <QtTest>

namespace {

// A plain RFC 4180 reader, as a spreadsheet or a script would read the file.
QVector<QStringList> readCsv(const QString &text)
{
    QVector<QStringList> rows;
    QStringList row;
    QString field;
    bool inQuotes = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                field += text.at(++i);
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

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
