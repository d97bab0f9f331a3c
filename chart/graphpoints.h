#pragma once

#include <QPointF>
#include <QVector>

class QCPGraph;

// Gives the graph these points, in their order (a stroke's points in acquisition
// order draw as the head moved).
void setGraphPoints(QCPGraph *graph, const QVector<QPointF> &points);
