#pragma once

// Export of the chart as a picture or a PDF page, drawn as it stands on screen.

#include <QString>

class QCustomPlot;

enum class ChartFormat { Unsupported, Bmp, Jpg, Pdf };

struct ExportTarget
{
    QString path;
    ChartFormat format;
};

// The file and format the operator asked for. A name without a suffix takes the
// suffix of the filter chosen in the dialog ("*.pdf"); suffixes are compared without
// regard to case.
ExportTarget exportTarget(const QString &chosenPath, const QString &selectedFilter);

// Writes the chart at its present size, with its ranges, visible graphs and legend.
// False when the file could not be written or the format is not supported.
bool exportChart(QCustomPlot &plot, const ExportTarget &target);
