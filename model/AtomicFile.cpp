#include "AtomicFile.h"

#include <QSaveFile>

#ifdef __linux__
#include <fcntl.h>
#endif

QString AtomicFile::ShortWriteReason() {
    return QStringLiteral("the disk is full or the file is too large");
}

bool AtomicFile::Write(const QString& path, const char* data, qint64 size, QString* why) {
    return Write(
        path, [data, size](const Chunk& write) { write(data, static_cast<std::size_t>(size)); },
        why);
}

bool AtomicFile::Write(const QString& path, const std::function<void(const Chunk&)>& produce,
                       QString* why) {
    QSaveFile f(path);
    auto fail = [&](const QString& reason) {
        f.cancelWriting();
        if (why)
            *why = reason;
        return false;
    };
    // Unbuffered, so that a short write shows in write()'s count: a buffered QSaveFile commits
    // a truncated file on a full disk without complaint. The chunks are large, so no buffer
    // is missed.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(f.errorString());
    QString failure;
    bool failed = false;
    qint64 written = 0, flushed = 0;
    produce([&](const char* data, std::size_t size) {
        if (failed)
            return false;
        const qint64 n = static_cast<qint64>(size);
        const qint64 count = f.write(data, n);
        if (count != n) {
            // A full disk or a file-size limit gives a short count and only "Unknown error".
            const bool ownReason = count < 0 && f.error() != QFileDevice::NoError &&
                                   f.errorString() != QLatin1String("Unknown error");
            failure = ownReason ? f.errorString() : ShortWriteReason();
            failed = true;
            return false;
        }
        written += n;
#ifdef __linux__
        // The commit waits until the file is on the disk: start the disk on what is written
        // while the rest is still being made, instead of all of it at the end.
        constexpr qint64 kStart = qint64(8) << 20;
        if (written - flushed >= kStart) {
            ::sync_file_range(f.handle(), flushed, written - flushed, SYNC_FILE_RANGE_WRITE);
            flushed = written;
        }
#endif
        return true;
    });
    if (failed)
        return fail(failure);
    if (!f.commit())
        return fail(f.errorString());
    return true;
}
