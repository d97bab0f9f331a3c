#include "report/reportblocks.h"

#include <qcustomplot.h>

namespace {

constexpr int WrapFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
constexpr double CellPaddingMm = 1.2;
// QCustomPlot lays a chart out in screen pixels; the report draws it scaled from these.
constexpr qreal PlotPixelsPerInch = 96;

const QColor LabelColor(90, 90, 90);
const QColor RuleColor(150, 150, 150);

void drawWrapped(QPainter &painter, const QFont &font, const QRectF &rect, const QString &text,
                 const QColor &color = Qt::black, int flags = WrapFlags)
{
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, flags | Qt::TextWordWrap, text);
}

void drawRule(QPainter &painter, const QPointF &from, const QPointF &to, qreal width)
{
    painter.setPen(QPen(RuleColor, width));
    painter.drawLine(from, to);
}

} // namespace

QFont ReportPainter::font(qreal points, bool bold) const
{
    QFont font = reportFont();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

qreal ReportPainter::textHeight(const QFont &font, qreal width, const QString &text) const
{
    painter.setFont(font);
    const QString measured = text.isEmpty() ? QStringLiteral(" ") : text;
    return painter.boundingRect(QRectF(0, 0, width, 1e7), WrapFlags, measured).height();
}

TitleBlock::TitleBlock(const QString &overline, const QString &title)
    : overline(overline)
    , title(title)
{
}

qreal TitleBlock::height(const ReportPainter &p, int) const
{
    return p.textHeight(p.font(12), p.width, overline) + p.textHeight(p.font(18, true), p.width, title) + p.mm(2);
}

void TitleBlock::paint(ReportPainter &p, const QRectF &rect, int) const
{
    const qreal overlineHeight = p.textHeight(p.font(12), p.width, overline);
    drawWrapped(p.painter, p.font(12), rect, overline, LabelColor);
    drawWrapped(p.painter, p.font(18, true), rect.adjusted(0, overlineHeight, 0, 0), title);
    drawRule(p.painter, rect.bottomLeft(), rect.bottomRight(), p.mm(0.4));
}

HeadingBlock::HeadingBlock(const QString &text)
    : text(text)
{
}

qreal HeadingBlock::height(const ReportPainter &p, int) const
{
    return p.textHeight(p.font(11, true), p.width, text);
}

void HeadingBlock::paint(ReportPainter &p, const QRectF &rect, int) const
{
    drawWrapped(p.painter, p.font(11, true), rect, text);
}

FieldsBlock::FieldsBlock(const QVector<ReportField> &fields)
    : fields(fields)
{
}

int FieldsBlock::pieces() const
{
    return (fields.size() + 1) / 2;
}

namespace {

// Each half of the row: the label takes two fifths, the value the rest but a gap.
constexpr qreal LabelShare = 0.4;

QRectF fieldLabelRect(const QRectF &row, int column)
{
    const qreal half = row.width() / 2;
    return QRectF(row.left() + column * half, row.top(), half * LabelShare, row.height());
}

QRectF fieldValueRect(const QRectF &row, int column)
{
    const qreal half = row.width() / 2;
    return QRectF(row.left() + column * half + half * LabelShare, row.top(), half * (1 - LabelShare) - half / 20,
                  row.height());
}

} // namespace

qreal FieldsBlock::height(const ReportPainter &p, int piece) const
{
    const QRectF row(0, 0, p.width, 0);
    qreal height = 0;
    for (int column = 0; column < 2 && piece * 2 + column < fields.size(); ++column) {
        const ReportField &field = fields[piece * 2 + column];
        height = qMax(height, p.textHeight(p.font(ReportPainter::BodyPoints, true),
                                           fieldLabelRect(row, column).width(), field.label));
        height = qMax(height, p.textHeight(p.font(ReportPainter::BodyPoints),
                                           fieldValueRect(row, column).width(), field.value));
    }
    return height + p.mm(1);
}

void FieldsBlock::paint(ReportPainter &p, const QRectF &rect, int piece) const
{
    for (int column = 0; column < 2 && piece * 2 + column < fields.size(); ++column) {
        const ReportField &field = fields[piece * 2 + column];
        drawWrapped(p.painter, p.font(ReportPainter::BodyPoints, true), fieldLabelRect(rect, column), field.label,
                    LabelColor);
        drawWrapped(p.painter, p.font(ReportPainter::BodyPoints), fieldValueRect(rect, column), field.value);
    }
}

TextBlock::TextBlock(const QString &text)
    : text(text)
{
}

qreal TextBlock::height(const ReportPainter &p, int) const
{
    return p.textHeight(p.font(ReportPainter::SmallPoints), p.width, text);
}

void TextBlock::paint(ReportPainter &p, const QRectF &rect, int) const
{
    drawWrapped(p.painter, p.font(ReportPainter::SmallPoints), rect, text);
}

TableBlock::TableBlock(const ReportTable &table)
    : table(table)
{
}

QVector<ReportCell> TableBlock::cells(int piece) const
{
    if (piece > 0)
        return table.rows[piece - 1];
    QVector<ReportCell> header;
    for (const QString &text : table.header)
        header.append(ReportCell(text));
    return header;
}

QVector<qreal> TableBlock::columnWidths(qreal width) const
{
    const int columns = table.header.size();
    QVector<int> weights = table.widths;
    weights.resize(columns);
    for (int &weight : weights)
        weight = qMax(weight, 1);
    int total = 0;
    for (int weight : weights)
        total += weight;
    QVector<qreal> widths;
    for (int weight : weights)
        widths.append(width * weight / total);
    return widths;
}

qreal TableBlock::height(const ReportPainter &p, int piece) const
{
    const QFont font = p.font(ReportPainter::BodyPoints, piece == 0);
    const QVector<qreal> widths = columnWidths(p.width);
    const QVector<ReportCell> row = cells(piece);
    qreal height = 0;
    for (int column = 0; column < widths.size() && column < row.size(); ++column)
        height = qMax(height, p.textHeight(font, widths[column] - p.mm(2 * CellPaddingMm), row[column].text));
    return height + p.mm(2 * CellPaddingMm);
}

void TableBlock::paint(ReportPainter &p, const QRectF &rect, int piece) const
{
    const QFont font = p.font(ReportPainter::BodyPoints, piece == 0);
    if (piece == 0)
        p.painter.fillRect(rect, QColor(232, 232, 232));
    const QVector<qreal> widths = columnWidths(rect.width());
    const QVector<ReportCell> row = cells(piece);
    const qreal padding = p.mm(CellPaddingMm);
    qreal x = rect.left();
    for (int column = 0; column < widths.size() && column < row.size(); ++column) {
        const QRectF cell = QRectF(x, rect.top(), widths[column], rect.height()).adjusted(padding, padding, -padding, -padding);
        const int align = column >= table.rightAlignedFrom ? Qt::AlignRight : Qt::AlignLeft;
        const ReportCell &value = row[column];
        drawWrapped(p.painter, font, cell, value.text, value.color.isValid() ? value.color : QColor(Qt::black),
                    align | Qt::AlignTop);
        x += widths[column];
    }
    drawRule(p.painter, rect.bottomLeft(), rect.bottomRight(), p.mm(0.15));
}

ChartBlock::ChartBlock(std::unique_ptr<QCustomPlot> plot, double heightMm)
    : plot(std::move(plot))
    , heightMm(heightMm)
{
}

ChartBlock::~ChartBlock() = default;

qreal ChartBlock::height(const ReportPainter &p, int) const
{
    return p.mm(heightMm);
}

void ChartBlock::paint(ReportPainter &p, const QRectF &rect, int) const
{
    const qreal scale = p.dotsPerMm * 25.4 / PlotPixelsPerInch;
    p.painter.save();
    p.painter.translate(rect.topLeft());
    p.painter.scale(scale, scale);
    plot->toPainter(&p.painter, qRound(rect.width() / scale), qRound(rect.height() / scale));
    p.painter.restore();
}

VerdictBlock::VerdictBlock(const QString &verdict, const QColor &color, const QString &detail)
    : verdict(verdict)
    , color(color)
    , detail(detail)
{
}

qreal VerdictBlock::height(const ReportPainter &p, int) const
{
    const qreal detailHeight = detail.isEmpty() ? 0 : p.textHeight(p.font(ReportPainter::BodyPoints), p.width, detail);
    return p.textHeight(p.font(30, true), p.width, verdict) + p.mm(4) + detailHeight;
}

void VerdictBlock::paint(ReportPainter &p, const QRectF &rect, int) const
{
    const qreal verdictHeight = p.textHeight(p.font(30, true), p.width, verdict) + p.mm(4);
    const QRectF box(rect.left(), rect.top(), rect.width(), verdictHeight);
    p.painter.setPen(QPen(color, p.mm(0.8)));
    p.painter.setBrush(Qt::NoBrush);
    p.painter.drawRect(box.adjusted(p.mm(0.4), p.mm(0.4), -p.mm(0.4), -p.mm(0.4)));
    drawWrapped(p.painter, p.font(30, true), box, verdict, color, Qt::AlignCenter);
    if (!detail.isEmpty())
        drawWrapped(p.painter, p.font(ReportPainter::BodyPoints), rect.adjusted(0, verdictHeight, 0, 0), detail, color);
}

SignatureBlock::SignatureBlock(const QStringList &roles)
    : roles(roles)
{
}

qreal SignatureBlock::height(const ReportPainter &p, int) const
{
    return p.mm(14) + p.textHeight(p.font(ReportPainter::SmallPoints), p.width, roles.value(0));
}

void SignatureBlock::paint(ReportPainter &p, const QRectF &rect, int) const
{
    const qreal width = rect.width() / qMax(1, int(roles.size()));
    const qreal lineY = rect.top() + p.mm(12);
    for (int i = 0; i < roles.size(); ++i) {
        const qreal left = rect.left() + i * width;
        const qreal right = left + width - p.mm(8);
        p.painter.setPen(QPen(Qt::black, p.mm(0.25)));
        p.painter.drawLine(QPointF(left, lineY), QPointF(right, lineY));
        drawWrapped(p.painter, p.font(ReportPainter::SmallPoints),
                    QRectF(left, lineY + p.mm(1), right - left, rect.bottom() - lineY), roles[i], LabelColor);
    }
}
