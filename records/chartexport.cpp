#include "records/chartexport.h"

#include <QFileInfo>
#include <qcustomplot.h>

#include "records/datadir.h"

ExportTarget exportTarget(const QString &chosenPath, const QString &selectedFilter)
{
    const QString path = withFilterSuffix(chosenPath, selectedFilter);
    const QString suffix = QFileInfo(path).suffix().toLower();
    ChartFormat format = ChartFormat::Unsupported;
    if (suffix == QLatin1String("bmp"))
        format = ChartFormat::Bmp;
    else if (suffix == QLatin1String("jpg"))
        format = ChartFormat::Jpg;
    else if (suffix == QLatin1String("pdf"))
        format = ChartFormat::Pdf;
    return {path, format};
}

bool exportChart(QCustomPlot &plot, const ExportTarget &target)
{
    constexpr int Dpi = 96;
    switch (target.format) {
    case ChartFormat::Bmp:
        return plot.saveBmp(target.path, 0, 0, 1.0, Dpi, QCP::ruDotsPerInch);
    case ChartFormat::Jpg:
        return plot.saveJpg(target.path, plot.width(), plot.height(), 1.0, 100, Dpi, QCP::ruDotsPerInch);
    case ChartFormat::Pdf:
        return plot.savePdf(target.path, 0, 0, QCP::epAllowCosmetic, QString(), QString());
    case ChartFormat::Unsupported:
        break;
    }
    return false;
}
