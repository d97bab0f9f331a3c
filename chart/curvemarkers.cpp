#include "chart/curvemarkers.h"

#include <qcustomplot.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CurveMarkers", text);
}

// The strokes' own colours, as their graphs are drawn.
QColor strokeColour(int stroke)
{
    return stroke == 0 ? QColor(Qt::blue) : QColor(Qt::red);
}

// A label beside a point of the chart, in the stroke's colour.
QCPItemText *label(QCustomPlot *plot, const QString &text, const QColor &colour)
{
    auto *item = new QCPItemText(plot);
    item->setText(text);
    item->setColor(colour);
    item->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    item->setPadding(QMargins(4, 0, 0, 2));
    return item;
}

// Runs from the bottom of the axis rectangle to its top at distance `x`.
void atDistance(QCPItemPosition *position, double x, double heightRatio)
{
    position->setTypeX(QCPItemPosition::ptPlotCoords);
    position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    position->setCoords(x, heightRatio);
}

} // namespace

CurveMarkers::CurveMarkers(QCustomPlot *plot)
    : plot(plot)
{
}

void CurveMarkers::place(const Places &newPlaces)
{
    places = newPlaces;
    redraw();
}

void CurveMarkers::setShown(Kind kind, bool show)
{
    shown[kind] = show;
    redraw();
}

void CurveMarkers::redraw()
{
    const bool drawn = !items.isEmpty();
    for (QCPAbstractItem *item : qAsConst(items))
        plot->removeItem(item);
    items.clear();
    if (shown[Window] && places.window) {
        auto *band = new QCPItemRect(plot);
        atDistance(band->topLeft, places.window->first, 0);
        atDistance(band->bottomRight, places.window->second, 1);
        band->setPen(QPen(QColor(0, 128, 0), 1, Qt::DashLine));
        band->setBrush(QColor(0, 160, 0, 28));
        items.append(band);
        QCPItemText *text = label(plot, tr("Window"), QColor(0, 128, 0));
        atDistance(text->position, places.window->first, 0);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        items.append(text);
    }
    for (int stroke : {0, 1}) {
        const QColor colour = strokeColour(stroke);
        if (shown[Peak] && places.peak[stroke]) {
            auto *dot = new QCPItemTracer(plot);
            dot->setStyle(QCPItemTracer::tsCircle);
            dot->setSize(10);
            dot->setPen(QPen(colour, 2));
            dot->position->setCoords(*places.peak[stroke]);
            QCPItemText *text = label(plot, tr("Peak"), colour);
            text->position->setCoords(*places.peak[stroke]);
            // The return stroke's label below its point: the peaks often lie close.
            if (stroke == 1)
                text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
            items << dot << text;
        }
        if (shown[Break] && places.breakDistance[stroke]) {
            auto *line = new QCPItemLine(plot);
            atDistance(line->start, *places.breakDistance[stroke], 1);
            atDistance(line->end, *places.breakDistance[stroke], 0);
            line->setPen(QPen(colour, 1, Qt::DashDotLine));
            QCPItemText *text = label(plot, tr("Break"), colour);
            atDistance(text->position, *places.breakDistance[stroke], stroke == 0 ? 0.05 : 0.1);
            text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
            items << line << text;
        }
    }
    // Places that change while no mark is shown cost the chart nothing.
    if (drawn || !items.isEmpty())
        plot->replot(QCustomPlot::rpQueuedReplot);
}
