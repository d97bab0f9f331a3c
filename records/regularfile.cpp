#include "records/regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/windowtext.h"

namespace {
#ifdef Q_OS_UNIX
QString notRegular(mode_t mode)
{
    if (S_ISFIFO(mode))
        return trWindow("It is a named pipe, not a file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return trWindow("It is a device, not a file.");
    if (S_ISSOCK(mode))
        return trWindow("It is a socket, not a file.");
    if (S_ISDIR(mode))
        return trWindow("It is a folder, not a file.");
    return trWindow("It is not a regular file.");
}
#endif
} // namespace

QString openRegularFile(QFile &file, const QString &path)
{
    file.setFileName(path);
#ifdef Q_OS_UNIX
    // Checked before opening, as opening a device may already act on it, and again on
    // what was opened, in case the name was replaced in between. Without blocking, as
    // opening a pipe waits for a writer.
    const QByteArray native = QFile::encodeName(path);
    struct stat before;
    if (::stat(native.constData(), &before) != 0)
        return qt_error_string(errno);
    if (!S_ISREG(before.st_mode))
        return notRegular(before.st_mode);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    struct stat opened {};  // a failed fstat leaves it as no regular file
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        const QString reason = notRegular(opened.st_mode);
        ::close(fd);
        return reason;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return QString();
#else
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return trWindow("It is not a regular file.");
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
#endif
}
