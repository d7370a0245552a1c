#pragma once

#include <QString>

#include <cstddef>
#include <functional>

// Writing a whole file so that it is either complete or not there: the bytes go to a temporary
// file beside the target, renamed over it only when all of them were written. A failure leaves
// the old file (if any) as it was and nothing half-written under the name.
class AtomicFile {
public:
    // Writes one chunk of the file; false once a write has failed (later chunks are dropped).
    using Chunk = std::function<bool(const char* data, std::size_t size)>;

    // On failure `why` (if given) holds the reason in a few words, without the file name.
    static bool Write(const QString& path, const char* data, qint64 size, QString* why);
    // The file made of every chunk `produce` hands to its writer, in order, so that a large
    // file need not be gathered in memory first.
    static bool Write(const QString& path, const std::function<void(const Chunk&)>& produce,
                      QString* why);
    // The reason for a write that stored fewer bytes than asked: the system gives none then.
    static QString ShortWriteReason();
};
