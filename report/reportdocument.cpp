#include "report/reportdocument.h"

#include <QFontInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <qcustomplot.h>

#include "report/reportblocks.h"

namespace {

constexpr double MarginMm = 15;
constexpr double FooterMm = 8;
constexpr double GapMm = 4;

struct Placement
{
    const ReportBlock *block;
    int piece;
    int page;
    qreal y;
    qreal height;
};

// Blocks go down the page one after the other; a piece that does not fit starts
// the next page, where a table's header comes first again.
QVector<Placement> layOut(const std::vector<std::unique_ptr<ReportBlock>> &blocks, const ReportPainter &p,
                          qreal bodyHeight)
{
    QVector<Placement> placed;
    int page = 0;
    qreal y = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const ReportBlock &block = *blocks[i];
        for (int piece = 0; piece < block.pieces(); ++piece) {
            const qreal height = block.height(p, piece);
            qreal needed = height;
            if (block.keepWithNext() && i + 1 < blocks.size())
                needed += p.mm(GapMm) + blocks[i + 1]->height(p, 0);
            if (y > 0 && y + needed > bodyHeight) {
                ++page;
                y = 0;
                const int repeated = block.repeatedPiece();
                if (piece > 0 && repeated >= 0) {
                    const qreal repeatedHeight = block.height(p, repeated);
                    placed.append({&block, repeated, page, y, repeatedHeight});
                    y += repeatedHeight;
                }
            }
            placed.append({&block, piece, page, y, height});
            y += height;
        }
        y += p.mm(GapMm);
    }
    return placed;
}

} // namespace

ReportDocument::ReportDocument() = default;
ReportDocument::~ReportDocument() = default;
ReportDocument::ReportDocument(ReportDocument &&) noexcept = default;
ReportDocument &ReportDocument::operator=(ReportDocument &&) noexcept = default;

void ReportDocument::addTitle(const QString &overline, const QString &title)
{
    blocks.push_back(std::make_unique<TitleBlock>(overline, title));
}

void ReportDocument::addHeading(const QString &text)
{
    blocks.push_back(std::make_unique<HeadingBlock>(text));
}

void ReportDocument::addFields(const QVector<ReportField> &fields)
{
    blocks.push_back(std::make_unique<FieldsBlock>(fields));
}

void ReportDocument::addText(const QString &text)
{
    blocks.push_back(std::make_unique<TextBlock>(text));
}

void ReportDocument::addTable(const ReportTable &table)
{
    blocks.push_back(std::make_unique<TableBlock>(table));
}

void ReportDocument::addChart(std::unique_ptr<QCustomPlot> plot, double heightMm)
{
    blocks.push_back(std::make_unique<ChartBlock>(std::move(plot), heightMm));
}

void ReportDocument::addVerdict(const QString &verdict, const QColor &color, const QString &detail)
{
    blocks.push_back(std::make_unique<VerdictBlock>(verdict, color, detail));
}

void ReportDocument::addSignatures(const QStringList &roles)
{
    blocks.push_back(std::make_unique<SignatureBlock>(roles));
}

int ReportDocument::print(QPagedPaintDevice &device) const
{
    QCPPainter painter;
    if (!painter.begin(&device))
        return 0;
    // Vector output: no cached pixmaps, and pens keep their width when zoomed.
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setMode(QCPPainter::pmNonCosmetic);
    painter.setRenderHint(QPainter::Antialiasing);

    ReportPainter p{painter, device.logicalDpiX() / 25.4, qreal(device.width())};
    const qreal bodyHeight = device.height() - p.mm(FooterMm);
    const QVector<Placement> placed = layOut(blocks, p, bodyHeight);
    const int pages = placed.isEmpty() ? 1 : placed.last().page + 1;

    const QFont footerFont = p.font(ReportPainter::SmallPoints);
    const QRectF footerRect(0, device.height() - p.mm(FooterMm / 2), p.width, p.mm(FooterMm / 2));
    int at = 0;
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return 0;
        for (; at < placed.size() && placed[at].page == page; ++at) {
            const Placement &piece = placed[at];
            piece.block->paint(p, QRectF(0, piece.y, p.width, piece.height), piece.piece);
        }
        painter.setFont(footerFont);
        painter.setPen(Qt::darkGray);
        painter.drawText(footerRect, Qt::AlignLeft | Qt::AlignBottom, footer);
        painter.drawText(footerRect, Qt::AlignRight | Qt::AlignBottom, tr("Page %1 of %2").arg(page + 1).arg(pages));
    }
    return painter.end() ? pages : 0;
}

QFont reportFont()
{
    // The families are taken as named, so the interface's is named as it resolved.
    QFont font;
    font.setFamilies({QFontInfo(font).family(), QStringLiteral("Noto Sans CJK SC")});
    // No ligatures: a hash printed with an "ff" glyph would not read back as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void setReportPage(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter));
}

int writeReportPdf(const ReportDocument &document, const QString &path, const QString &title, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return 0;
    }
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quelmar"));
        writer.setResolution(ReportPainter::PdfDotsPerInch);
        setReportPage(writer);
        pages = document.print(writer);
    }
    if (pages == 0) {
        file.cancelWriting();
        error = QStringLiteral("cannot draw the report");
        return 0;
    }
    if (!file.commit()) {
        error = file.errorString();
        return 0;
    }
    return pages;
}
