#pragma once

// CSV as RFC 4180 describes it: UTF-8, fields separated by commas, rows ended by CR LF,
// a field quoted when it holds a comma, a quote or a line break. Every CSV the program
// writes goes through this writer.
//
// Numbers are written with '.' as the decimal separator whatever the locale, as the
// shortest text that reads back to the same double. A text field that a spreadsheet
// would take for a formula (one beginning with '=', '+', '-', '@', a tab or a carriage
// return) gets a leading apostrophe, so the spreadsheet shows it as text.

#include <QString>

class QIODevice;

class CsvWriter
{
public:
    explicit CsvWriter(QIODevice &device);

    CsvWriter &text(const QString &value);
    CsvWriter &number(double value);  // not finite: an empty field
    CsvWriter &number(qint64 value);
    CsvWriter &empty();
    void endRow();

    // False once the device refused a write.
    bool ok() const { return m_ok; }

private:
    void field(const QString &value);

    QIODevice &m_device;
    QString m_row;
    bool m_first = true;
    bool m_ok = true;
};

// The field as the writer puts it into a row (guarded and quoted as needed).
QString csvTextField(const QString &value);
QString csvNumberField(double value);
