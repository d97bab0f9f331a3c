#pragma once

// Whether a window's form shows all of its texts at the size it has now.

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QtTest>

// Every label and button of the window's grid is as large as its text needs.
inline void verifyGridFits(QMainWindow &window)
{
    window.centralWidget()->layout()->activate();
    QCoreApplication::processEvents();
    auto *grid = window.findChild<QGridLayout *>(QStringLiteral("gridLayout"));
    QVERIFY(grid);
    for (int i = 0; i < grid->count(); ++i) {
        QWidget *widget = grid->itemAt(i)->widget();
        if (!qobject_cast<QLabel *>(widget) && !qobject_cast<QAbstractButton *>(widget))
            continue;
        const QSize need = widget->sizeHint();
        QVERIFY2(widget->width() >= need.width() && widget->height() >= need.height(),
                 qPrintable(QStringLiteral("%1 at %2x%3 of the window: %4x%5, needs %6x%7")
                                .arg(widget->objectName()).arg(window.width()).arg(window.height())
                                .arg(widget->width()).arg(widget->height()).arg(need.width()).arg(need.height())));
    }
}

// At the size the window opens with and at the smallest it can be made.
inline void verifyFitsAtItsSizes(QMainWindow &window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    verifyGridFits(window);
    if (QTest::currentTestFailed())
        return;
    window.resize(1, 1);  // the window's minimum size holds it
    QCOMPARE(window.size(), window.minimumSize());
    verifyGridFits(window);
}
