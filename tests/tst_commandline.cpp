// The built program's command line: Qt's own options go to Qt, the program's own
// information options answer without a display.

#include <QtTest>

namespace {
// No display at all: a program that tries to open a window cannot start.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}
} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void informationWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("printed");
        QTest::newRow("help") << QStringList{"--help"} << QByteArray("--port <PATH>");
        QTest::newRow("version, demo") << QStringList{"--demo", "--version"} << QByteArray(QUELMAR_DISPLAY_VERSION);
        QTest::newRow("version among Qt options") << QStringList{"-reverse", "-style", "fusion", "-v"}
                                                  << QByteArray(QUELMAR_DISPLAY_VERSION);
    }

    void informationWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, printed);
        QProcess program;
        program.setProcessEnvironment(withoutDisplay());
        program.start(QStringLiteral(QUELMAR_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardOutput().contains(printed));
    }

    void qtOptionsReachQt()
    {
        QProcess program;
        program.setProcessEnvironment(withoutDisplay());
        program.start(QStringLiteral(QUELMAR_PROGRAM), {"-platform", "offscreen", "-style", "fusion", "-reverse",
                                                        "--port", "/dev/null"});
        QVERIFY(program.waitForStarted(10000));
        // Still running a second later: the window came up on the platform asked for.
        QVERIFY2(!program.waitForFinished(1000), program.readAllStandardError().constData());
        program.terminate();  // SIGTERM to its pid
        QVERIFY(program.waitForFinished(10000));
    }

    void unknownOptionIsRefused()
    {
        QProcess program;
        program.setProcessEnvironment(withoutDisplay());
        program.start(QStringLiteral(QUELMAR_PROGRAM), {"-platform", "offscreen", "--colour", "red"});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().contains("Unknown option 'colour'"));
        QVERIFY(program.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
