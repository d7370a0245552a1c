#pragma once

#include <QString>

class QFile;

// Opening a file the user named. Only regular files are read: a FIFO would block the open until
// some writer appears, and a device such as /dev/zero never ends.
class RegularFile {
public:
    // Opens `path` read-only into `file` (which must be closed). On failure `why` (if given)
    // says why in a few words, without the file name: the caller's sentence names the file.
    static bool OpenForReading(QFile& file, const QString& path, QString* why);
    // The reason given for a path that exists but is no regular file.
    static QString NotRegularReason();
};
