#pragma once

// Drives the modal dialogs that a window action opens, one after the other.

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QStringList>
#include <QVector>
#include <QtTest>
#include <functional>

using ModalStep = std::function<void(QWidget *modal)>;

// Calls `trigger` and hands each modal widget it shows, as soon as it is shown, to the
// next of `steps`, which is to close it. A modal widget beyond the steps, or one that
// a step left open, is rejected, so a failing test cannot hang. Returns how many
// modal widgets came up.
inline int runModal(const std::function<void()> &trigger, const QVector<ModalStep> &steps)
{
    int seen = 0;
    QPointer<QWidget> answered;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (modal != answered && seen++ < steps.size()) {
            answered = modal;
            steps[seen - 1](modal);
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    });
    poll.start(10);
    trigger();
    return seen;
}

// A step that answers a file dialog: picks filter number `filter`, types `path` and
// accepts. With `seen`, first notes the dialog's title, folder, suggested file and
// filters.
inline ModalStep choose(const QString &path, int filter = 0, QStringList *seen = nullptr)
{
    return [=](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        if (seen)
            *seen = QStringList{dialog->windowTitle(), dialog->directory().absolutePath(),
                                dialog->selectedFiles().value(0), dialog->nameFilters().join(QLatin1Char('|'))};
        dialog->selectNameFilter(dialog->nameFilters().value(filter));
        // Typed, as selectFile() leaves a focused name field alone.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog *>(dialog)->accept();  // QFileDialog hides its accept()
    };
}
