#include "chart/graphpoints.h"

#include <qcustomplot.h>

void setGraphPoints(QCPGraph *graph, const QVector<QPointF> &points)
{
    QVector<double> keys, values;
    keys.reserve(points.size());
    values.reserve(points.size());
    for (const QPointF &point : points) {
        keys.append(point.x());
        values.append(point.y());
    }
    graph->setData(keys, values);
}
