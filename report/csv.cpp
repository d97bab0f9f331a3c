#include "csv.h"

#include <QIODevice>
#include <QLocale>
#include <cmath>

QString csvTextField(const QString &value)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    QString field = value;
    const bool guarded = !field.isEmpty() && formulaStarts.contains(field.at(0));
    if (guarded)
        field.prepend(QLatin1Char('\''));
    const bool quoted = guarded || field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
                        || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
    if (!quoted)
        return field;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString csvNumberField(double value)
{
    // QString::number ignores the locale.
    return std::isfinite(value) ? QString::number(value, 'g', QLocale::FloatingPointShortest) : QString();
}

CsvWriter::CsvWriter(QIODevice &device)
    : m_device(device)
{
}

void CsvWriter::field(const QString &value)
{
    if (!m_first)
        m_row += QLatin1Char(',');
    m_first = false;
    m_row += value;
}

CsvWriter &CsvWriter::text(const QString &value)
{
    field(csvTextField(value));
    return *this;
}

CsvWriter &CsvWriter::number(double value)
{
    field(csvNumberField(value));
    return *this;
}

CsvWriter &CsvWriter::number(qint64 value)
{
    field(QString::number(value));
    return *this;
}

CsvWriter &CsvWriter::empty()
{
    field(QString());
    return *this;
}

void CsvWriter::endRow()
{
    m_row += QLatin1String("\r\n");
    const QByteArray bytes = m_row.toUtf8();
    m_ok = m_ok && m_device.write(bytes) == bytes.size();
    m_row.clear();
    m_first = true;
}
