#include "results/methodeditdialog.h"

#include <QIntValidator>
#include <QRegularExpression>
#include <QRegExpValidator>

#include <cmath>

#include "analysis/numbertext.h"
#include "analysis/resultrows.h"
#include "chart/forceunit.h"
#include "report/resulttext.h"
#include "ui_methodeditdialog.h"

namespace {

constexpr int PathRole = Qt::UserRole;

QString text(const std::optional<double> &value)
{
    return value ? shortestDecimal(*value) : QString();
}

QString listText(const QVector<double> &values)
{
    QStringList texts;
    for (double value : values)
        texts.append(shortestDecimal(value));
    return texts.join(QStringLiteral("; "));
}

// A number as the method file writes it, '.' as the point in every locale. Text
// that is no number gives NaN, which the method reader refuses with the member's name.
double number(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? value : NAN;
}

// "Peak force (forward) (N)": limits are in N and mm, as the method file holds them.
QString limitName(const QString &path)
{
    return ResultText(ForceUnit::Newton, 0).labelWithUnit(path);
}

std::optional<double> bound(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return number(text);
}

} // namespace

MethodEditDialog::MethodEditDialog(const TestMethod &method, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::MethodEditDialog>())
    , edited(method)
{
    ui->setupUi(this);
    // The bounds of the test start dialog.
    ui->speedEdit->setValidator(new QIntValidator(1, 300, this));
    ui->distanceEdit->setValidator(new QRegExpValidator(QRegExp(QStringLiteral(R"(^-?(700|[0-6]?[0-9]?\d(\.\d{1,2})?)$)")), this));
    ui->limitsTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &MethodEditDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &MethodEditDialog::reject);
    connect(ui->forceAtEdit, &QLineEdit::editingFinished, this, &MethodEditDialog::listLimitablePaths);
    connect(ui->distanceAtEdit, &QLineEdit::editingFinished, this, &MethodEditDialog::listLimitablePaths);
    show(method);
}

MethodEditDialog::~MethodEditDialog() = default;

void MethodEditDialog::show(const TestMethod &method)
{
    ui->nameEdit->setText(method.name);
    ui->versionLabel->setText(QString::number(method.version));
    const Curve_Setting setting = method.test.setting().value_or(DefaultCurveSetting);
    ui->testGroup->setChecked(!method.test.isEmpty());
    ui->modeCombo->setCurrentIndex(setting.mode == 1 ? 1 : 0);
    ui->distanceModeCombo->setCurrentIndex(setting.distanceMode == 1 ? 1 : 0);
    ui->speedEdit->setText(QString::number(setting.speed));
    ui->distanceEdit->setText(method.test.distance ? shortestDecimal(*method.test.distance)
                                                   : shortestDecimal(double(setting.distance)));
    const ResultParameters &results = method.results;
    ui->windowCheck->setChecked(results.window.has_value());
    ui->windowFromEdit->setText(results.window ? shortestDecimal(results.window->from) : QString());
    ui->windowToEdit->setText(results.window ? shortestDecimal(results.window->to) : QString());
    ui->forceAtEdit->setText(listText(results.forceAtDistances));
    ui->distanceAtEdit->setText(listText(results.distanceAtForces));
    ui->breakCheck->setChecked(results.breakDetection.has_value());
    ui->dropEdit->setText(results.breakDetection ? shortestDecimal(results.breakDetection->dropPercent) : QString());
    ui->minForceEdit->setText(results.breakDetection ? shortestDecimal(results.breakDetection->minForce) : QString());
    for (const ResultLimit &limit : method.limits)
        addLimit(limit.path, limit.min, limit.max);
    listLimitablePaths();
}

void MethodEditDialog::addLimit(const QString &path, const std::optional<double> &min, const std::optional<double> &max)
{
    const int row = ui->limitsTable->rowCount();
    ui->limitsTable->insertRow(row);
    auto *name = new QTableWidgetItem(limitName(path));
    name->setData(PathRole, path);
    name->setToolTip(path);
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    ui->limitsTable->setItem(row, 0, name);
    ui->limitsTable->setItem(row, 1, new QTableWidgetItem(text(min)));
    ui->limitsTable->setItem(row, 2, new QTableWidgetItem(text(max)));
}

void MethodEditDialog::listLimitablePaths()
{
    QString ignored;
    const TestMethod method = described(ignored);
    ui->limitPathCombo->clear();
    for (const QString &path : limitablePaths(method.results.forceAtDistances, method.results.distanceAtForces))
        ui->limitPathCombo->addItem(limitName(path), path);
}

void MethodEditDialog::on_addLimitBtn_clicked()
{
    const QString path = ui->limitPathCombo->currentData().toString();
    if (!path.isEmpty())
        addLimit(path, std::nullopt, std::nullopt);
}

void MethodEditDialog::on_removeLimitBtn_clicked()
{
    ui->limitsTable->removeRow(ui->limitsTable->currentRow());
}

TestMethod MethodEditDialog::described(QString &message) const
{
    TestMethod method;
    method.name = ui->nameEdit->text();
    method.version = edited.version;
    if (ui->testGroup->isChecked()) {
        method.test.mode = ui->modeCombo->currentIndex();
        method.test.distanceMode = ui->distanceModeCombo->currentIndex();
        // Out of the reader's bounds when empty, so that it names the field.
        method.test.speed = ui->speedEdit->hasAcceptableInput() ? ui->speedEdit->text().toInt() : 0;
        method.test.distance = number(ui->distanceEdit->text());
    }
    ResultParameters &results = method.results;
    if (ui->windowCheck->isChecked())
        results.window = ResultParameters::Window{number(ui->windowFromEdit->text()), number(ui->windowToEdit->text())};
    const auto listed = [&](const QLineEdit *edit, const QString &caption, QVector<double> &values) {
        for (const QString &item : edit->text().split(QRegularExpression(QStringLiteral("[;,\\s]+")), Qt::SkipEmptyParts)) {
            const double value = number(item);
            if (std::isnan(value) && message.isEmpty())
                message = tr("%1: %2 is not a number.").arg(caption, item);
            else if (!std::isnan(value))
                values.append(value);
        }
    };
    listed(ui->forceAtEdit, ui->forceAtCaption->text(), results.forceAtDistances);
    listed(ui->distanceAtEdit, ui->distanceAtCaption->text(), results.distanceAtForces);
    if (ui->breakCheck->isChecked())
        results.breakDetection = BreakDetection{number(ui->dropEdit->text()),
                                                bound(ui->minForceEdit->text()).value_or(0)};
    for (int row = 0; row < ui->limitsTable->rowCount(); ++row) {
        ResultLimit limit{ui->limitsTable->item(row, 0)->data(PathRole).toString(), {}, {}};
        for (auto [column, value] : {std::pair(1, &limit.min), std::pair(2, &limit.max)}) {
            const QString typed = ui->limitsTable->item(row, column)->text();
            *value = bound(typed);
            if (value->has_value() && std::isnan(**value) && message.isEmpty())
                message = tr("%1: %2 is not a number.").arg(ui->limitsTable->item(row, 0)->text(), typed);
        }
        method.limits.append(limit);
    }
    return method;
}

void MethodEditDialog::accept()
{
    QString message;
    const TestMethod method = described(message);
    // The reader of method files decides, so that a method saved here always reads.
    const TestMethodReading reading = parseTestMethod(testMethodJson(method), tr("The method"));
    if (message.isEmpty())
        message = reading.error;
    ui->errorLabel->setText(message);
    if (!message.isEmpty())
        return;
    edited = reading.method;
    QDialog::accept();
}
