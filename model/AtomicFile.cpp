#include "AtomicFile.h"

#include <QSaveFile>

QString AtomicFile::ShortWriteReason() {
    return QStringLiteral("the disk is full or the file is too large");
}

bool AtomicFile::Write(const QString& path, const char* data, qint64 size, QString* why) {
    QSaveFile f(path);
    auto fail = [&](const QString& reason) {
        f.cancelWriting();
        if (why)
            *why = reason;
        return false;
    };
    // Unbuffered, so that a short write shows in write()'s count: a buffered QSaveFile commits
    // a truncated file on a full disk without complaint.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(f.errorString());
    const qint64 written = f.write(data, size);
    if (written != size) {
        // A full disk or a file-size limit gives a short count and only "Unknown error".
        const bool ownReason = written < 0 && f.error() != QFileDevice::NoError &&
                               f.errorString() != QLatin1String("Unknown error");
        return fail(ownReason ? f.errorString() : ShortWriteReason());
    }
    if (!f.commit())
        return fail(f.errorString());
    return true;
}
