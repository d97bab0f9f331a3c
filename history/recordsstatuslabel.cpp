#include "history/recordsstatuslabel.h"

#include <QFontMetrics>

RecordsStatusLabel::RecordsStatusLabel(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("recordsStatusLabel"));
    hide();
}

void RecordsStatusLabel::showState(RecordWriter::State state, const QString &message)
{
    this->state = state;
    this->message = message;
    refresh();
}

void RecordsStatusLabel::showWaiting(int count)
{
    waiting = count;
    refresh();
}

void RecordsStatusLabel::refresh()
{
    setToolTip(message);
    if (state == RecordWriter::Off) {
        setStyleSheet(QStringLiteral("color: #b00020;"));
        // The reason may begin with a long path and ends with what matters; the tool
        // tip holds all of it.
        setText(tr("Records off: %1").arg(fontMetrics().elidedText(message, Qt::ElideLeft, 420)));
    } else if (state == RecordWriter::Waiting || waiting > 0) {
        setStyleSheet(QStringLiteral("color: #a05a00;"));
        setText(tr("Records waiting for the server: %1").arg(waiting));
    } else {
        setStyleSheet(QString());
        setText(QString());
    }
    setVisible(!text().isEmpty());
}
