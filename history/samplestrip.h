#pragma once

#include <QWidget>

#include "records/sampleentry.h"

namespace Ui {
class SampleStrip;
}

// Sample, batch, operator and note of the next test, filled in before Start. The
// operator and the batch are kept for the next start of the program; the sample id
// counts up after each test.
class SampleStrip : public QWidget
{
    Q_OBJECT

public:
    explicit SampleStrip(QWidget *parent = nullptr);
    ~SampleStrip() override;

    // The fields as typed, without surrounding blanks.
    SampleEntry entry() const;

public slots:
    // After a test: the next sample id, when this one ends in a number.
    void advance();

signals:
    void entryChanged(const SampleEntry &entry);

private slots:
    void on_sampleEdit_textChanged();
    void on_batchEdit_textChanged(const QString &text);
    void on_operatorEdit_textChanged(const QString &text);
    void on_noteEdit_textChanged();

private:
    Ui::SampleStrip *ui;
};
