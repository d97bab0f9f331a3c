// The main window as the operator first sees it.

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include "app/mainwindow.h"
#include "app/resources.h"
#include "chart/forceunit.h"
#include "formfit.h"

namespace {
QStringList actionNames(const QList<QAction *> &actions)
{
    QStringList names;
    for (QAction *a : actions)
        names << (a->menu() ? a->menu()->objectName() : a->objectName());
    return names;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quelmarInitResources(); }

    void formWidgets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("columnSpan");
        QTest::newRow("label") << "label" << "Force" << 0 << 2 << 2;
        QTest::newRow("forceLabel") << "forceLabel" << "" << 0 << 4 << 2;
        QTest::newRow("testModeBtn") << "testModeBtn" << "Test Mode" << 0 << 7 << 1;
        QTest::newRow("zeroBtn") << "zeroBtn" << "Zero" << 0 << 8 << 1;
        QTest::newRow("curveCheckBox") << "curveCheckBox" << "Curve" << 0 << 9 << 1;
        QTest::newRow("upBtn") << "upBtn" << "Up" << 0 << 10 << 1;
        QTest::newRow("startBtn") << "startBtn" << "Start" << 0 << 11 << 1;
        QTest::newRow("refreshBtn") << "refreshBtn" << "Refresh" << 0 << 12 << 1;
        QTest::newRow("typeLabel") << "typeLabel" << "Type" << 0 << 13 << 1;
        QTest::newRow("label_3") << "label_3" << "Distance" << 1 << 2 << 2;
        QTest::newRow("distanceLabel") << "distanceLabel" << "" << 1 << 4 << 2;
        QTest::newRow("unitBtn") << "unitBtn" << "Unit" << 1 << 7 << 1;
        QTest::newRow("distanceZeroBtn") << "distanceZeroBtn" << "Distance Zero" << 1 << 8 << 1;
        QTest::newRow("autoCheckBox") << "autoCheckBox" << "Auto" << 1 << 9 << 1;
        QTest::newRow("downBtn") << "downBtn" << "Down" << 1 << 10 << 1;
        QTest::newRow("stopBtn") << "stopBtn" << "Stop" << 1 << 11 << 1;
        QTest::newRow("axisSetBtn") << "axisSetBtn" << "Axis Set" << 1 << 12 << 1;
        QTest::newRow("forwardCheckBox") << "forwardCheckBox" << "Forward" << 2 << 11 << 1;
        QTest::newRow("returnCheckBox") << "returnCheckBox" << "Return" << 2 << 12 << 1;
        QTest::newRow("userPlot") << "userPlot" << "" << 3 << 2 << 12;
    }

    void formWidgets()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, columnSpan);
        MainWindow window;
        auto *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        const QVariant shown = widget->property("text");
        if (shown.isValid())
            QCOMPARE(shown.toString(), text);
        auto *grid = window.findChild<QGridLayout *>(QStringLiteral("gridLayout"));
        QVERIFY(grid);
        QCOMPARE(grid->parentWidget(), window.centralWidget());
        const int at = grid->indexOf(widget);
        QVERIFY(at >= 0);
        int r, c, rs, cs;
        grid->getItemPosition(at, &r, &c, &rs, &cs);
        QCOMPARE(r, row);
        QCOMPARE(c, column);
        QCOMPARE(cs, columnSpan);
        QCOMPARE(rs, 1);
    }

    void formLayoutAndState()
    {
        MainWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
        // The form's size, grown by the results panel beside the chart, unless its
        // texts need more.
        QCOMPARE(window.size(), QSize(800 + window.findChild<QDockWidget *>("resultsDock")->sizeHint().width(), 600)
                                    .expandedTo(window.minimumSizeHint()));
        QCOMPARE(window.windowTitle(), QStringLiteral("Quelmar"));
        auto *grid = window.findChild<QGridLayout *>(QStringLiteral("gridLayout"));
        QCOMPARE(grid->spacing(), 6);
        QCOMPARE(grid->contentsMargins(), QMargins());
        QCOMPARE((QVector<int>{grid->rowStretch(0), grid->rowStretch(1), grid->rowStretch(2), grid->rowStretch(3)}),
                 (QVector<int>{1, 1, 1, 8}));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("forceLabel"))->font().pointSize(), 20);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("userPlot"))->sizePolicy(),
                 QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding));
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("startBtn"))->sizePolicy().verticalPolicy(),
                 QSizePolicy::Fixed);

        // Only Start and Disconnect wait for a link; everything else is usable at once.
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("startBtn"))->isEnabled());
        QVERIFY(window.findChild<QAction *>(QStringLiteral("actionConnect"))->isEnabled());
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("actionDisconnect"))->isEnabled());
        QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("forwardCheckBox"))->isChecked());
        QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("returnCheckBox"))->isChecked());
        QVERIFY(!window.findChild<QCheckBox *>(QStringLiteral("autoCheckBox"))->isChecked());
        QVERIFY(!window.findChild<QCheckBox *>(QStringLiteral("curveCheckBox"))->isChecked());

        QCOMPARE(unitNames, (QVector<QString>{"N", "Kg", "Lb"}));
        QCOMPARE(forceUnit, uint8_t(0));
        QCOMPARE(forceDecimals, 3);
    }

    void menusAndToolBar()
    {
        MainWindow window;
        QCOMPARE(actionNames(window.menuBar()->actions()),
                 (QStringList{"menuFile", "menuDevice", "menuOption", "menuView", "menuHelp"}));
        auto menu = [&](const char *name) {
            return actionNames(window.findChild<QMenu *>(QLatin1String(name))->actions());
        };
        QCOMPARE(menu("menuFile"), (QStringList{"actionNew", "actionOpen", "actionSave", "actionStoreRecord",
                                                "actionHistory", "actionExport", "actionReport", "actionPrint",
                                                "actionExportCurve", "actionExit"}));
        QCOMPARE(menu("menuDevice"), (QStringList{"actionConnect", "actionDisconnect"}));
        QCOMPARE(menu("menuOption"),
                 (QStringList{"actionSetting", "actionmachine_parameter", "actionLanguage", "actionRecordsDatabase",
                              "actionReportSettings"}));
        QCOMPARE(menu("menuHelp"), (QStringList{"actionabout"}));
        // The results panel's switch; the chart's marks are off until asked for.
        const QList<QAction *> view = window.findChild<QMenu *>(QStringLiteral("menuView"))->actions();
        QCOMPARE(view.size(), 5);
        QCOMPARE(view[0], window.findChild<QDockWidget *>(QStringLiteral("resultsDock"))->toggleViewAction());
        for (QAction *marks : view.mid(2))
            QVERIFY(marks->isCheckable() && !marks->isChecked());
        auto *toolBar = window.findChild<QToolBar *>(QStringLiteral("mainToolBar"));
        QCOMPARE(window.toolBarArea(toolBar), Qt::TopToolBarArea);
        QCOMPARE(actionNames(toolBar->actions()),
                 (QStringList{"actionConnect", "actionDisconnect", "actionSetting", "actionChart"}));

        for (const char *name : {"actionConnect", "actionDisconnect", "actionExit", "actionSetting", "actionChart"})
            QVERIFY2(!window.findChild<QAction *>(QLatin1String(name))->icon().isNull(), name);
        QCOMPARE(window.findChild<QAction *>(QStringLiteral("actionSave"))->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(window.findChild<QAction *>(QStringLiteral("actionOpen"))->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(window.findChild<QAction *>(QStringLiteral("actionNew"))->shortcut(), QKeySequence("Ctrl+N"));
    }

    // Callers find these slots by method index, so added ones must come after them.
    void documentedSlotsKeepTheirOrder()
    {
        const QStringList documented{
            "on_actionConnect_triggered", "on_actionDisconnect_triggered", "on_actionSetting_triggered",
            "on_startBtn_clicked", "on_stopBtn_clicked", "on_refreshBtn_clicked", "on_axisSetBtn_clicked",
            "on_actionChart_triggered", "on_actionabout_triggered", "myWidgetDoubleClicked", "myMouseMoveEvent",
            "on_actionOpen_triggered", "on_actionSave_triggered", "on_forwardCheckBox_clicked",
            "on_returnCheckBox_clicked", "on_actionLanguage_triggered", "on_actionExport_triggered",
            "receiveAxisSet", "receiveCurveSetting", "receiveCurveData", "receiveCurrentPointValue",
            "receiveCurrentState", "on_actionmachine_parameter_triggered", "on_autoCheckBox_clicked",
            "on_testModeBtn_clicked", "on_zeroBtn_clicked", "on_distanceZeroBtn_clicked", "on_upBtn_clicked",
            "on_downBtn_clicked", "on_unitBtn_clicked"};
        const QMetaObject &meta = MainWindow::staticMetaObject;
        QStringList slotNames;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            if (meta.method(i).methodType() == QMetaMethod::Slot)
                slotNames << QString::fromLatin1(meta.method(i).name());
        QCOMPARE(slotNames.mid(0, documented.size()), documented);
    }

    void nothingIsCutAndNothingMoves()
    {
        MainWindow window;
        verifyFitsAtItsSizes(window);
        if (QTest::currentTestFailed())
            return;
        // Readouts as wide as their widest value keep the buttons beside them in place.
        auto *stop = window.findChild<QWidget *>(QStringLiteral("stopBtn"));
        const int stopAt = stop->x();
        for (const char *force : {"-304.336 N", "0.1 N", "-4999.999 Kg", "1234.567 Lb"}) {
            window.findChild<QLabel *>(QStringLiteral("forceLabel"))->setText(QLatin1String(force));
            window.findChild<QLabel *>(QStringLiteral("distanceLabel"))->setText(QStringLiteral("-123.4 mm"));
            window.centralWidget()->layout()->activate();
            QCOMPARE(stop->x(), stopAt);
        }
    }

    void chartZoomResetAndFullScreen()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *plot = window.findChild<QCustomPlot *>(QStringLiteral("userPlot"));
        QMetaObject::invokeMethod(&window, "receiveCurveData", Q_ARG(int, 0), Q_ARG(double, 150), Q_ARG(double, 1));
        // As dragging and the wheel leave them; new points still widen what Reset brings back.
        plot->xAxis->setRange(10, 20);
        plot->yAxis->setRange(-5, 5);
        QMetaObject::invokeMethod(&window, "receiveCurveData", Q_ARG(int, 1), Q_ARG(double, 170), Q_ARG(double, 1));
        window.findChild<QPushButton *>(QStringLiteral("resetZoomBtn"))->click();
        QCOMPARE(plot->xAxis->range(), QCPRange(0, 170));
        QCOMPARE(plot->yAxis->range(), QCPRange(-300, 500));

        QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, plot->rect().center());
        QVERIFY(plot->isWindow());
        QTRY_VERIFY(plot->isFullScreen());
        QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, plot->rect().center());
        QVERIFY(!plot->isWindow());
        QCOMPARE(plot->parentWidget(), window.centralWidget());
    }

    void iconsHaveTheirSizes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("alpha");
        QTest::newRow("connect") << ":/images/connect.png" << 128 << true;
        QTest::newRow("disconnect") << ":/images/disconnect.png" << 128 << true;
        QTest::newRow("exit") << ":/images/application-exit.png" << 128 << true;
        QTest::newRow("settings") << ":/images/settings.png" << 128 << true;
        QTest::newRow("chart") << ":/images/line-chart.png" << 256 << true;
        QTest::newRow("logo") << ":/images/Ostrivel.png" << 256 << false;
    }

    void iconsHaveTheirSizes()
    {
        QFETCH(QString, path);
        QFETCH(int, size);
        QFETCH(bool, alpha);
        const QImage image(path);
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.hasAlphaChannel(), alpha);
    }

    void aboutBox()
    {
        MainWindow window;
        QString seen;
        QTimer::singleShot(0, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box) {
                seen = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
        });
        window.findChild<QAction *>(QStringLiteral("actionabout"))->trigger();
        QCOMPARE(seen, QStringLiteral("about|Quelmar Ver 1.0.0.181106"));
    }

    void newDoesNothingAndClosingIsPrompt()
    {
        QElapsedTimer timer;
        timer.start();
        {
            MainWindow window;
            window.show();
            window.findChild<QAction *>(QStringLiteral("actionNew"))->trigger();
            QCOMPARE(QApplication::topLevelWidgets().count(&window), 1);
            window.findChild<QAction *>(QStringLiteral("actionExit"))->trigger();
            QVERIFY(!window.isVisible());
        }
        // The never-started acquisition thread is not waited for.
        QVERIFY(timer.elapsed() < 1000);
    }

    void chartAtStart()
    {
        MainWindow window;
        auto *plot = window.findChild<QCustomPlot *>(QStringLiteral("userPlot"));
        QCOMPARE(plot->graphCount(), 2);
        QCOMPARE(plot->graph(0)->name(), QStringLiteral("Forward"));
        QCOMPARE(plot->graph(1)->name(), QStringLiteral("Return"));
        QCOMPARE(plot->graph(0)->pen().color(), QColor(Qt::blue));
        QCOMPARE(plot->graph(1)->pen().color(), QColor(Qt::red));
        QCOMPARE(plot->xAxis->label(), QStringLiteral("Distance"));
        QCOMPARE(plot->yAxis->label(), QStringLiteral("Force N"));
        QCOMPARE(plot->xAxis->range(), QCPRange(0, 100));
        QCOMPARE(plot->yAxis->range(), QCPRange(-300, 500));
        QVERIFY(plot->legend->visible());
        QCOMPARE(int(plot->interactions()), int(QCP::iRangeDrag | QCP::iRangeZoom));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
