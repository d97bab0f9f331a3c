#pragma once

// A PostgreSQL cluster of the tests' own, in a temporary folder, reached only through
// a Unix socket in that folder. Run as `nobody` when the tests run as root (the server
// refuses root). Local connections need a password, which the tests give through
// PGPASSWORD as a lab would: that proves the program leaves it to libpq.
//
// Stopped by the destructor; a watcher process stops it and removes the folder when
// the test program dies without running destructors.

#include "store/databaseurl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

class ThrowawayPostgres
{
public:
    static constexpr const char *Password = "throwaway-secret";
    static constexpr int Port = 5432;

    ~ThrowawayPostgres() { stop(); }

    // Creates the cluster on the first call. Returns false with `error` set, also when
    // the server's programs are not installed.
    bool start(QString &error)
    {
        if (m_running)
            return true;
        if (m_bin.isEmpty() && !findServer(error))
            return false;
        if (!m_initialised && !initialise(error))
            return false;
        const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off")
                                    .arg(m_dir.path()).arg(Port);
        if (!run(m_bin + QStringLiteral("/pg_ctl"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")),
                  QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"), options,
                  QStringLiteral("start")},
                 error))
            return false;
        m_running = true;
        return true;
    }

    bool stop()
    {
        if (!m_running)
            return true;
        QString error;
        m_running = !run(m_bin + QStringLiteral("/pg_ctl"),
                         {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"), QStringLiteral("fast"),
                          QStringLiteral("-w"), QStringLiteral("stop")},
                         error);
        return !m_running;
    }

    DatabaseUrl url() const
    {
        DatabaseUrl url;
        url.engine = DatabaseUrl::Postgres;
        url.user = QStringLiteral("quelmar");
        url.host = m_dir.path();
        url.port = Port;
        url.dbname = QStringLiteral("postgres");
        return url;
    }

    QString serverLog() const
    {
        QFile log(m_dir.filePath(QStringLiteral("log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(2000)) : QString();
    }

private:
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    bool findServer(QString &error)
    {
        const QString fromEnvironment = qEnvironmentVariable("QUELMAR_PG_BINDIR");
        QStringList candidates;
        if (!fromEnvironment.isEmpty())
            candidates << fromEnvironment;
        const QDir versions(QStringLiteral("/usr/lib/postgresql"));
        for (const QString &version : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed))
            candidates << versions.filePath(version + QStringLiteral("/bin"));
        for (const QString &bin : candidates) {
            if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl"))) {
                m_bin = bin;
                return true;
            }
        }
        error = QStringLiteral("PostgreSQL's server programs (initdb, pg_ctl) were not found under /usr/lib/postgresql "
                               "or QUELMAR_PG_BINDIR; install Debian's postgresql package (scripts/install-deps.sh)");
        return false;
    }

    bool initialise(QString &error)
    {
        if (!m_dir.isValid()) {
            error = QStringLiteral("cannot create a temporary folder");
            return false;
        }
        QFile passwordFile(m_dir.filePath(QStringLiteral("password")));
        if (!passwordFile.open(QIODevice::WriteOnly) || passwordFile.write(Password) < 0) {
            error = QStringLiteral("cannot write the password file");
            return false;
        }
        passwordFile.close();
        if (::geteuid() == 0) {
            const passwd *nobody = ::getpwnam("nobody");
            if (!nobody) {
                error = QStringLiteral("running as root, but there is no user nobody to run the server");
                return false;
            }
            m_serverUid = nobody->pw_uid;
            for (const QString &path : {m_dir.path(), passwordFile.fileName()}) {
                if (::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
                    error = QStringLiteral("cannot hand %1 to nobody").arg(path);
                    return false;
                }
            }
        }
        startWatcher();
        if (!run(m_bin + QStringLiteral("/initdb"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), QStringLiteral("quelmar"),
                  QStringLiteral("--pwfile=") + passwordFile.fileName(), QStringLiteral("--auth=scram-sha-256"),
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-locale"),
                  QStringLiteral("--no-sync")},
                 error))
            return false;
        m_initialised = true;
        return true;
    }

    // Root runs the server's programs as nobody.
    bool run(const QString &program, const QStringList &arguments, QString &error)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(m_dir.path());
        if (m_serverUid >= 0)
            process.start(QStringLiteral("/usr/sbin/runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), program}
                              + arguments);
        else
            process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            error = QStringLiteral("%1 failed: %2 %3").arg(program, QString::fromLocal8Bit(process.readAll()),
                                                          serverLog());
            process.kill();
            process.waitForFinished();
            return false;
        }
        return true;
    }

    // Stops the server and removes the folder once this test program has gone.
    void startWatcher()
    {
        const QString script = QStringLiteral(
            "while kill -0 \"$0\" 2>/dev/null; do sleep 1; done;"
            " if [ \"$3\" = root ]; then as='/usr/sbin/runuser -u nobody --'; else as=; fi;"
            " $as \"$1\"/pg_ctl -D \"$2\"/data -m immediate stop >/dev/null 2>&1;"
            " rm -rf \"$2\"");
        QProcess::startDetached(QStringLiteral("/bin/sh"),
                                {QStringLiteral("-c"), script, QString::number(QCoreApplication::applicationPid()),
                                 m_bin, m_dir.path(), m_serverUid >= 0 ? QStringLiteral("root") : QString()});
    }

    QTemporaryDir m_dir;
    QString m_bin;
    int m_serverUid = -1;
    bool m_initialised = false;
    bool m_running = false;
};
