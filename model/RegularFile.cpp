#include "RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString RegularFile::NotRegularReason() {
    return QStringLiteral("it is not a regular file");
}

bool RegularFile::OpenForReading(QFile& file, const QString& path, QString* why) {
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    // Non-blocking, so that a FIFO cannot hold the open; the type is then checked on the open
    // descriptor itself, so the path cannot be swapped between the check and the read.
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        name.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(name.isEmpty() ? QStringLiteral("no file name") : qt_error_string(errno));
    struct stat st {};
    const bool statOk = ::fstat(fd, &st) == 0;
    const int statErrno = errno;
    if (!statOk || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(statOk ? NotRegularReason() : qt_error_string(statErrno));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
}
