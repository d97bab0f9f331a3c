// Checks the translation catalogues built into the program: every Chinese text
// the windows and dialogs rely on, the texts that must stay in English, the
// empty English catalogue, and that the Chinese texts can be drawn at all.

#include "app/resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QTextLayout>
#include <QTranslator>
#include <QtTest>

namespace {

struct Entry {
    const char *context;
    const char *source;
    const char *chinese; // UTF-8
};

// The whole Chinese catalogue as it was first built; texts added since are checked
// on the windows themselves (tst_chineseinterface).
const Entry chineseCatalogue[] = {
    // Main window form
    {"MainWindow", "Quelmar", "Quelmar"},
    {"MainWindow", "File", "文件"},
    {"MainWindow", "New", "新建"},
    {"MainWindow", "Open", "打开"},
    {"MainWindow", "Save", "保存"},
    {"MainWindow", "Export", "导出"},
    {"MainWindow", "Exit", "退出"},
    {"MainWindow", "Device", "设备"},
    {"MainWindow", "Connect", "连接"},
    {"MainWindow", "Disconnect", "断开"},
    {"MainWindow", "Option", "选项"},
    {"MainWindow", "Setting", "设置"},
    {"MainWindow", "machine parameter", "机器参数"},
    {"MainWindow", "Language", "语言"},
    {"MainWindow", "Help", "帮助"},
    {"MainWindow", "about", "关于"},
    {"MainWindow", "Chart", "图表"},
    {"MainWindow", "Force", "力值"},
    {"MainWindow", "Distance", "位移"},
    {"MainWindow", "Test Mode", "测试模式"},
    {"MainWindow", "Zero", "清零"},
    {"MainWindow", "Curve", "曲线"},
    {"MainWindow", "Up", "上"},
    {"MainWindow", "Start", "开始"},
    {"MainWindow", "Refresh", "刷新"},
    {"MainWindow", "Type", "型号"},
    {"MainWindow", "Unit", "单位"},
    {"MainWindow", "Distance Zero", "位移清零"},
    {"MainWindow", "Auto", "自动"},
    {"MainWindow", "Down", "下"},
    {"MainWindow", "Stop", "停止"},
    {"MainWindow", "Axis Set", "坐标设置"},
    {"MainWindow", "Forward", "进程"},
    {"MainWindow", "Return", "返程"},
    // Main window slots
    {"MainWindow", "Quelmar Ver %1", "Quelmar Ver %1"},
    {"MainWindow", "COM open failed", "串口打开失败"},
    {"MainWindow", "%1,%2,%3,%4,%5,success", "%1,%2,%3,%4,%5,连接成功"},
    {"MainWindow", "%1 close", "%1 断开"},
    {"MainWindow", "Type-%1", "型号-%1"},
    {"MainWindow", "Force %1", "力值 %1"},
    {"MainWindow", "Real Time", "实时"},
    {"MainWindow", "Peak", "峰值"},
    {"MainWindow", "Warning", "警告"},
    {"MainWindow", "Please close the serial port!", "请关闭串口!"},
    {"MainWindow", "Info", "信息"},
    {"MainWindow", "The graph has no data!", "图表中没有数据!"},

    {"languageSelectDialog", "languageSelect", "语言选择"},
    {"languageSelectDialog", "Language", "语言"},
    {"languageSelectDialog", "System", "系统"},
    {"languageSelectDialog", "English", "英语"},
    {"languageSelectDialog", "Chinese", "中文"},
    {"languageSelectDialog", "OK", "确认"},
    {"languageSelectDialog", "Cancel", "取消"},
    {"languageSelectDialog", "Confirm", "确认"},
    {"languageSelectDialog", "Confirm change the language?", "确认修改语言?"},
    {"languageSelectDialog", "Info", "信息"},
    {"languageSelectDialog", "Language will be changed after application restart!", "应用重启后修改语言!"},

    // Serial settings: the form's context and the dialog class's context differ
    // only in the case of the first letter.
    {"serialSettingDialog", "Settings", "设置"},
    {"serialSettingDialog", "Select Serial Port", "选择串口"},
    {"serialSettingDialog", "Description:", "描述:"},
    {"serialSettingDialog", "Manufacturer:", "厂商:"},
    {"serialSettingDialog", "Serial number:", "序列号:"},
    {"serialSettingDialog", "Location:", "端口号:"},
    {"serialSettingDialog", "Vendor ID:", "供应商标识:"},
    {"serialSettingDialog", "Product ID:", "产品标识:"},
    {"serialSettingDialog", "Select Parameters", "选择参数"},
    {"serialSettingDialog", "BaudRate:", "波特率:"},
    {"serialSettingDialog", "Data bits:", "数据位:"},
    {"serialSettingDialog", "Parity:", "校验位:"},
    {"serialSettingDialog", "Stop bits:", "停止位:"},
    {"serialSettingDialog", "Apply", "应用"},
    {"SerialSettingDialog", "Description: %1", "描述: %1"},
    {"SerialSettingDialog", "Manufacturer: %1", "厂商: %1"},
    {"SerialSettingDialog", "Serial number: %1", "序列号: %1"},
    {"SerialSettingDialog", "Location: %1", "端口号: %1"},
    {"SerialSettingDialog", "Vendor Identifier: %1", "供应商标识: %1"},
    {"SerialSettingDialog", "Product Identifier: %1", "产品标识: %1"},
    // Held with an empty translation; the dialog selects the baud rate combo item
    // by this text, so the lookup has to give the number back.
    {"SerialSettingDialog", "115200", "115200"},

    {"chartStart", "ChartSetting", "图表设置"},
    {"chartStart", "Mode", "模式"},
    {"chartStart", "PUSH", "压缩"},
    {"chartStart", "PULL", "拉伸"},
    {"chartStart", "Relative Distance", "相对位移"},
    {"chartStart", "Absolute Distance", "绝对位移"},
    {"chartStart", "Distance", "位移"},
    {"chartStart", "Speed", "速度"},
    {"chartStart", "OK", "确认"},
    {"chartStart", "Cancel", "取消"},

    {"curveSettingDialog", "AxisSetting", "坐标设置"},
    {"curveSettingDialog", "Xaxis", "x轴"},
    {"curveSettingDialog", "Yaxis", "y轴"},
    {"curveSettingDialog", "Min", "最小"},
    {"curveSettingDialog", "Max", "最大"},
    {"curveSettingDialog", "Reversed", "反向"},
    {"curveSettingDialog", "AxisAutoSet", "自动设置"},
    {"curveSettingDialog", "OK", "确认"},
    {"curveSettingDialog", "Cancel", "取消"},

    {"machineParameter", "machineParameter", "机器参数"},
    {"machineParameter", "Speed", "速度"},

    // Messages of the program's own that go beyond the original catalogue.
    {"MainWindow", "Quelmar - simulated stand", "Quelmar - 模拟试验机"},
    {"MainWindow", "Could not open %1:\n%2", "无法打开 %1:\n%2"},
    {"MainWindow", "%1 holds no test data.", "%1 中没有测试数据。"},
    {"MainWindow", "Points loaded: %1.", "已加载 %1 个点。"},
    {"MainWindow", "Points loaded: %1. Lines skipped: %2, the first is line %3.",
     "已加载 %1 个点。跳过 %2 行无法读取的内容,第一处在第 %3 行。"},
    {"MainWindow", "Could not save %1:\n%2", "无法保存 %1:\n%2"},
    {"MainWindow", "%1 cannot be exported: the chart is exported as .jpg, .bmp or .pdf only.",
     "无法导出 %1: 图表只能导出为 .jpg、.bmp 或 .pdf 文件。"},
    {"MainWindow", "Could not export the chart to %1.", "无法将图表导出到 %1。"},
    {"MainWindow", "Controller not answering", "控制器无应答"},
    {"languageSelectDialog", "The language choice could not be saved!", "无法保存语言选择!"},
};

struct Untranslated {
    const char *context;
    const char *source;
};

// Texts that have no Chinese entry and must come back unchanged. The data file
// headers matter beyond looks: they are written and recognised by their English
// text.
const Untranslated textsWithoutEntry[] = {
    {"MainWindow", "TextLabel"},
    {"MainWindow", "%1 %2"},
    {"MainWindow", "%1 mm"},
    {"MainWindow", "%1, %2"},
    {"MainWindow", "Ctrl+N"},
    {"MainWindow", "Ctrl+O"},
    {"MainWindow", "Ctrl+S"},
    {"MainWindow", "Data Forward:"},
    {"MainWindow", "Data Return:"},
    {"serialSettingDialog", "115200"},
    {"serialSettingDialog", "8"},
    {"SerialSettingDialog", "8"},
    {"chartStart", "mm"},
    {"chartStart", "mm/min"},
    {"chartStart", "%1"},
    {"machineParameter", "mm/min"},
    // An entry belongs to its own context only, and keys are case-sensitive.
    {"MainWindow", "Speed"},
    {"MainWindow", "About"},
    {"serialSettingDialog", "Description: %1"},
    {"SerialSettingDialog", "Description:"},
    {"SerialSettingDialog", "Settings"},
};

QByteArray rowTag(const char *context, const char *source)
{
    return QByteArray(context) + '/' + source;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void catalogueResources();
    void englishCatalogueIsEmpty();

    void chineseEntries_data();
    void chineseEntries();
    void untranslatedTexts_data();
    void untranslatedTexts();
    void chineseTextsHaveGlyphs();

private:
    QTranslator chinese;
};

void TranslationsTest::initTestCase()
{
    quelmarInitResources();
    QVERIFY(chinese.load(QStringLiteral(":/language/cn.qm")));
    QVERIFY(QCoreApplication::installTranslator(&chinese));
}

void TranslationsTest::cleanupTestCase()
{
    QCoreApplication::removeTranslator(&chinese);
}

void TranslationsTest::catalogueResources()
{
    QFile cn(QStringLiteral(":/language/cn.qm"));
    QVERIFY(cn.exists());
    QVERIFY(cn.size() > 0);
    QVERIFY(QFile::exists(QStringLiteral(":/language/en.qm")));

    QVERIFY(!chinese.isEmpty());
    QCOMPARE(chinese.language(), QStringLiteral("zh_CN"));
}

void TranslationsTest::englishCatalogueIsEmpty()
{
    // English is the source language: its catalogue must load and hold nothing,
    // so that loading it could never change a text.
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/language/en.qm")));
    QVERIFY(english.isEmpty());
    QVERIFY(english.translate("MainWindow", "File").isNull());
}

void TranslationsTest::chineseEntries_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("expected");

    for (const Entry &e : chineseCatalogue)
        QTest::newRow(rowTag(e.context, e.source).constData())
                << QByteArray(e.context) << QByteArray(e.source) << QString::fromUtf8(e.chinese);
}

void TranslationsTest::chineseEntries()
{
    QFETCH(QByteArray, context);
    QFETCH(QByteArray, source);
    QFETCH(QString, expected);

    // Looked up the way tr() does it, through the installed translator.
    QCOMPARE(QCoreApplication::translate(context.constData(), source.constData()), expected);
}

void TranslationsTest::untranslatedTexts_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<QByteArray>("source");

    for (const Untranslated &u : textsWithoutEntry)
        QTest::newRow(rowTag(u.context, u.source).constData())
                << QByteArray(u.context) << QByteArray(u.source);
}

void TranslationsTest::untranslatedTexts()
{
    QFETCH(QByteArray, context);
    QFETCH(QByteArray, source);

    // No entry at all: the translator answers with a null string and the
    // application falls back to the source text.
    QVERIFY(chinese.translate(context.constData(), source.constData()).isNull());
    QCOMPARE(QCoreApplication::translate(context.constData(), source.constData()),
             QString::fromUtf8(source));
}

void TranslationsTest::chineseTextsHaveGlyphs()
{
    // Glyph 0 is what a text is drawn with when no installed font covers it: the
    // boxes a machine without a Chinese font shows instead of the interface.
    QString missing;
    for (const Entry &e : chineseCatalogue) {
        QTextLayout layout(QString::fromUtf8(e.chinese), QGuiApplication::font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns()) {
            if (run.glyphIndexes().contains(0))
                missing += QString::fromUtf8(e.chinese) + QLatin1Char(' ');
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("drawn as boxes: ") + missing));
}

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
