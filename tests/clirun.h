#pragma once

// quelmar-cli run as a script runs it; the test names the program in QUELMAR_CLI.

#include <QProcess>
#include <QStringList>

struct Run
{
    int status = -1;  // -1 when it did not end normally within a minute
    QByteArray out;
    QByteArray err;
};

inline Run cli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(QUELMAR_CLI), args);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
