#pragma once

#include <QString>

// Writing a whole file so that it is either complete or not there: the bytes go to a temporary
// file beside the target, renamed over it only when all of them were written. A failure leaves
// the old file (if any) as it was and nothing half-written under the name.
class AtomicFile {
public:
    // On failure `why` (if given) holds the reason in a few words, without the file name.
    static bool Write(const QString& path, const char* data, qint64 size, QString* why);
    // The reason for a write that stored fewer bytes than asked: the system gives none then.
    static QString ShortWriteReason();
};
