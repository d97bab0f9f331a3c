#pragma once

// Forces, units and results as the reports and the curve CSV show them. Results
// come as the record keeps them (analysis/resultpath.h names them by path); forces
// are shown in the unit of the report, work in mJ.

#include <QCoreApplication>
#include <QJsonValue>
#include <QString>
#include <optional>

#include "analysis/resultrows.h"

// "N", "kg" or "lb" for the unit codes 0, 1 and 2; an unknown code is taken as N.
QString unitName(int unit);
// The force in the unit, converted as the chart converts it.
double forceInUnit(double newtons, int unit);

class ResultText
{
    Q_DECLARE_TR_FUNCTIONS(ResultText)

public:
    // How results are written: forces with the stand's decimals, in its unit.
    ResultText(int unit, int forceDecimals);

    // What the result at `path` measures ("forward.force_at_mm.10" is a force).
    static ResultQuantity quantity(const QString &path);
    // "Peak force (forward)", "Force at 10 mm (return)", "Hysteresis".
    static QString label(const QString &path);

    // The unit of a quantity as this report shows it; empty for counts and flags.
    QString unit(ResultQuantity quantity) const;
    // The label with the unit of the result: "Peak force (N)", "Points".
    QString labelWithUnit(const QString &path) const;
    // The number in the report's unit, without the unit name.
    double shown(double value, ResultQuantity quantity) const;
    // The number in the report's unit as the report writes it, without the unit.
    QString number(double value, ResultQuantity quantity) const;
    // "12.345 N" (or "12.345" without the unit), "yes", "—" for a result that does
    // not exist.
    QString value(const QJsonValue &value, ResultQuantity quantity, bool withUnit = true) const;
    // "40 … 60 N", "≤ 120 N", "≥ 40 N".
    QString limits(std::optional<double> lower, std::optional<double> upper, ResultQuantity quantity) const;

private:
    int forceUnit;
    int forceDecimals;
};
