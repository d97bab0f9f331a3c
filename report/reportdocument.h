#pragma once

// A printed report as a flow of blocks (titles, label and value fields, tables,
// charts, the verdict, lines to sign) laid out on the pages of a PDF writer or a
// printer, each page with a footer that numbers it ("Page 1 of 2"). Blocks move to
// the next page whole; a table breaks between rows and repeats its header.

#include <QColor>
#include <QFont>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <vector>

class QCustomPlot;
class QPagedPaintDevice;
class ReportBlock;

struct ReportField
{
    QString label;
    QString value;
};

struct ReportCell
{
    ReportCell(const QString &text = QString(), const QColor &color = QColor())
        : text(text)
        , color(color)
    {
    }
    QString text;
    QColor color;  // invalid: the text colour
};

struct ReportTable
{
    QStringList header;
    QVector<QVector<ReportCell>> rows;
    QVector<int> widths;       // relative column widths; empty: all alike
    int rightAlignedFrom = 1;  // columns from this one on hold numbers
};

class ReportDocument
{
    Q_DECLARE_TR_FUNCTIONS(ReportDocument)

public:
    ReportDocument();
    ~ReportDocument();
    ReportDocument(ReportDocument &&) noexcept;
    ReportDocument &operator=(ReportDocument &&) noexcept;

    // Shown in every page's footer, left of the page number.
    void setFooterText(const QString &text) { footer = text; }

    void addTitle(const QString &overline, const QString &title);
    void addHeading(const QString &text);
    void addFields(const QVector<ReportField> &fields);
    void addText(const QString &text);
    void addTable(const ReportTable &table);
    // Drawn as vector graphics across the page's width. The chart is laid out in
    // screen pixels and drawn scaled to the page, so its fonts are to be sized in
    // pixels, as ReportChart's are: a size in points would be scaled twice.
    void addChart(std::unique_ptr<QCustomPlot> plot, double heightMm);
    void addVerdict(const QString &verdict, const QColor &color, const QString &detail);
    void addSignatures(const QStringList &roles);

    // Lays the blocks out on `device` (A4 portrait, see setReportPage) and paints
    // them. Returns the number of pages, 0 when the device could not be painted on.
    int print(QPagedPaintDevice &device) const;

private:
    std::vector<std::unique_ptr<ReportBlock>> blocks;
    QString footer;
};

// The reports' typeface: the interface's, with Chinese text taken from a face made
// for Simplified Chinese where one is installed, whatever the system's locale.
QFont reportFont();

// A4 portrait with the report's margins.
void setReportPage(QPagedPaintDevice &device);

// Writes `document` as a PDF file: beside `path`, then renamed over it. Returns the
// number of pages; 0 with `error` set when the file could not be written.
int writeReportPdf(const ReportDocument &document, const QString &path, const QString &title, QString &error);
