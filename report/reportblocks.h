#pragma once

// The kinds of block a ReportDocument lays out. Sizes are in the device's own dots,
// so text is measured with the fonts as the device draws them.

#include <QFont>
#include <QRectF>
#include <memory>

#include "report/reportdocument.h"

class QCPPainter;

struct ReportPainter
{
    static constexpr int PdfDotsPerInch = 600;
    static constexpr qreal BodyPoints = 9.5;
    static constexpr qreal SmallPoints = 8;

    QCPPainter &painter;
    qreal dotsPerMm;
    qreal width;  // of the page's body

    qreal mm(double millimetres) const { return millimetres * dotsPerMm; }
    QFont font(qreal points, bool bold = false) const;
    // Height of `text` wrapped at `width`.
    qreal textHeight(const QFont &font, qreal width, const QString &text) const;
};

class ReportBlock
{
public:
    virtual ~ReportBlock() = default;

    // A block is laid out in pieces that each stay on one page: a table's header
    // and each of its rows, a field row; most blocks are one piece.
    virtual int pieces() const { return 1; }
    virtual qreal height(const ReportPainter &p, int piece) const = 0;
    virtual void paint(ReportPainter &p, const QRectF &rect, int piece) const = 0;
    // The piece painted again at the top of a page the block continues on; -1 for none.
    virtual int repeatedPiece() const { return -1; }
    // Starts a page together with the first piece of the block after it.
    virtual bool keepWithNext() const { return false; }
};

class TitleBlock : public ReportBlock
{
public:
    TitleBlock(const QString &overline, const QString &title);
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;

private:
    QString overline, title;
};

class HeadingBlock : public ReportBlock
{
public:
    explicit HeadingBlock(const QString &text);
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;
    bool keepWithNext() const override { return true; }

private:
    QString text;
};

// Label and value pairs, two pairs to a row.
class FieldsBlock : public ReportBlock
{
public:
    explicit FieldsBlock(const QVector<ReportField> &fields);
    int pieces() const override;
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;

private:
    QVector<ReportField> fields;
};

class TextBlock : public ReportBlock
{
public:
    explicit TextBlock(const QString &text);
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;

private:
    QString text;
};

// Piece 0 is the header, piece i the row i - 1.
class TableBlock : public ReportBlock
{
public:
    explicit TableBlock(const ReportTable &table);
    int pieces() const override { return table.rows.size() + 1; }
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;
    int repeatedPiece() const override { return 0; }

private:
    QVector<ReportCell> cells(int piece) const;
    QVector<qreal> columnWidths(qreal width) const;

    ReportTable table;
};

class ChartBlock : public ReportBlock
{
public:
    ChartBlock(std::unique_ptr<QCustomPlot> plot, double heightMm);
    ~ChartBlock() override;
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;

private:
    std::unique_ptr<QCustomPlot> plot;
    double heightMm;
};

class VerdictBlock : public ReportBlock
{
public:
    VerdictBlock(const QString &verdict, const QColor &color, const QString &detail);
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;

private:
    QString verdict;
    QColor color;
    QString detail;
};

class SignatureBlock : public ReportBlock
{
public:
    explicit SignatureBlock(const QStringList &roles);
    qreal height(const ReportPainter &p, int piece) const override;
    void paint(ReportPainter &p, const QRectF &rect, int piece) const override;

private:
    QStringList roles;
};
