// The program started in Chinese, as lang.ini chooses it: every text its windows
// and dialogs show is Chinese, Qt's own buttons included, and the main window's form
// still fits.

#include <QtTest>
#include <QtWidgets>

#include "app/languageselectdialog.h"
#include "app/mainwindow.h"
#include "app/resources.h"
#include "app/startup.h"
#include "chart/curvesettingdialog.h"
#include "control/chartstart.h"
#include "device/serialsettingdialog.h"
#include "formfit.h"
#include "machine/machineparameter.h"
#include "modaldialogs.h"

namespace {
// Symbols and names (units, file formats) that stay as they are in any language.
const QRegularExpression KeptWords(QStringLiteral("\\b(Quelmar|Esc|mm|min|N|kg|lb|Kg|Lb|CSV|PDF)\\b"));

// What a widget shows in words: its text, title, tool tip and items.
QStringList shownTexts(QWidget *widget)
{
    QStringList texts{widget->toolTip()};
    if (widget->isWindow())
        texts << widget->windowTitle();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        texts << button->text();
    if (auto *label = qobject_cast<QLabel *>(widget))
        texts << label->text();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        texts << group->title();
    if (auto *tabs = qobject_cast<QTabWidget *>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
    if (auto *box = qobject_cast<QComboBox *>(widget))
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
    if (auto *menu = qobject_cast<QMenu *>(widget))
        texts << menu->title();
    for (QAction *action : widget->actions())
        texts << action->text() << action->toolTip();
    return texts;
}

// Texts of `window` and its children with an English word left in them.
QStringList english(QWidget *window)
{
    QStringList left;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets)
        for (const QString &text : shownTexts(widget))
            if (QString(text).remove(KeptWords).contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))))
                left << widget->objectName() + QStringLiteral(": ") + text;
    left.removeDuplicates();
    return left;
}
} // namespace

class ChineseInterfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quelmarInitResources();
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCoreApplication::setApplicationName(QStringLiteral("quelmar"));
        QVERIFY(QDir().mkpath(config.filePath(QStringLiteral("quelmar"))));
        QFile stored(config.filePath(QStringLiteral("quelmar/lang.ini")));
        QVERIFY(stored.open(QIODevice::WriteOnly));
        stored.write(LangIni::content(LangIni::Chinese));
        stored.close();
        installStartupTranslator(*QCoreApplication::instance());
    }

    void everyTextIsChinese()
    {
        MainWindow window;
        QCOMPARE(english(&window), QStringList());
        machineParameter machine(&window);
        QCOMPARE(english(&machine), QStringList());
        chartStart start(&window);
        QCOMPARE(english(&start), QStringList());
        curveSettingDialog axes(&window, AxisSetting{0, 100, -300, 500, false, false});
        QCOMPARE(english(&axes), QStringList());
        SerialSettingDialog serial(QVector<SerialPortEntry>{}, &window);
        QCOMPARE(english(&serial), QStringList());
    }

    // Qt's own texts come from the system's catalogue, loaded with the program's.
    void qtCatalogue()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
    }

    // The language change asks and then informs; each box is Chinese.
    void languageChangeBoxes()
    {
        QTemporaryDir dir;
        const LangIni::Location where{QString(), dir.filePath(QStringLiteral("lang.ini"))};
        languageSelectDialog dialog(where);
        dialog.findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentIndex(LangIni::Chinese);
        QStringList seen;
        const auto note = [&](QMessageBox::StandardButton button) {
            return [&seen, button](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                QVERIFY(box);
                seen << english(box) << box->windowTitle() << box->text();
                box->button(button)->click();
            };
        };
        QCOMPARE(runModal([&] { dialog.findChild<QPushButton *>(QStringLiteral("okBtn"))->click(); },
                          {note(QMessageBox::Yes), note(QMessageBox::Ok)}),
                 2);
        QCOMPARE(seen, (QStringList{QStringLiteral("确认"), QStringLiteral("确认修改语言?"), QStringLiteral("信息"),
                                    QStringLiteral("应用重启后修改语言!")}));
    }

    void mainWindowFits()
    {
        MainWindow window;
        verifyFitsAtItsSizes(window);
    }

private:
    QTemporaryDir config;
};

QTEST_MAIN(ChineseInterfaceTest)
#include "tst_chineseinterface.moc"
