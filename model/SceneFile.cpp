#include "SceneFile.h"

#include "AtomicFile.h"
#include "CArchive.h"
#include "CQuivraDoc.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>

namespace {

// Stored bytes are handed on in pieces of this size: small enough to stay in the processor's
// cache between being made and being copied, large enough that each write call is worth it.
constexpr std::size_t kChunk = std::size_t(1) << 20;

} // namespace

QByteArray SceneFile::ToBytes(CQuivraDoc& doc) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(doc.SceneFileSize()));
    CArchive ar(
        [&bytes](const char* data, std::size_t size) {
            bytes.append(data, static_cast<qsizetype>(size));
            return true;
        },
        kChunk);
    doc.Serialize(ar);
    ar.Flush();
    return bytes;
}

// Reads the scene from `make()`'s archive; false with `error` set (empty when cancelled).
static bool Parse(const std::function<std::unique_ptr<CArchive>()>& make, CQuivraDoc& doc,
                  QString* error, const SceneFile::Progress& progress) {
    try {
        const std::unique_ptr<CArchive> ar = make();
        if (progress)
            ar->SetProgress([&progress](std::size_t pos, std::size_t total) {
                return progress(static_cast<qint64>(pos), static_cast<qint64>(total));
            });
        doc.Serialize(*ar);
        return true;
    } catch (const ArchiveCancelled&) {
        if (error)
            error->clear();
        return false;
    } catch (const ArchiveError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    } catch (const std::bad_alloc&) {
        if (error)
            *error = QStringLiteral("not enough memory");
        return false;
    }
}

bool SceneFile::FromBytes(const QByteArray& data, CQuivraDoc& doc, QString* error,
                          const Progress& progress) {
    return Parse([&data] { return std::make_unique<CArchive>(data); }, doc, error, progress);
}

// Reads the scene straight from the file, a chunk at a time: the file's bytes are never held
// whole, which saves their memory and the time to fault it in.
bool SceneFile::LoadOpen(QFile& f, const QString& path, CQuivraDoc& doc, QString* error) {
    const auto source = [&f](char* into, std::size_t max) -> std::size_t {
        const qint64 n = f.read(into, static_cast<qint64>(max));
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    };
    const auto size = static_cast<std::size_t>(std::max<qint64>(f.size(), 0));
    QString why;
    const bool ok =
        Parse([&] { return std::make_unique<CArchive>(source, size, kChunk); }, doc, &why, {});
    // A read error shows to the archive as a short file: name the real cause.
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(path, f.errorString());
        return false;
    }
    if (!ok && error)
        *error = QStringLiteral("\"%1\" is not a valid scene file: %2").arg(path, why);
    return ok;
}

bool SceneFile::Load(const QString& path, CQuivraDoc& doc, QString* error,
                     const Progress& progress) {
    QFile f;
    QString whyNot;
    if (!RegularFile::OpenForReading(f, path, &whyNot)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, whyNot);
        return false;
    }
    if (!progress)
        return LoadOpen(f, path, doc, error);
    QByteArray data;
    // Reading is the first half of the work reported, reading the scene the second.
    const qint64 size = f.size();
    const qint64 total = 2 * size;
    try {
        constexpr qint64 kReadChunk = qint64(8) << 20;
        data.resize(size);
        qint64 got = 0;
        while (got < size) {
            const qint64 n = f.read(data.data() + got, std::min(kReadChunk, size - got));
            if (n <= 0)
                break;
            got += n;
            if (!progress(got, total)) {
                if (error)
                    error->clear();
                return false;
            }
        }
        data.resize(got);
    } catch (const std::bad_alloc&) {
        // A file larger than the memory left (the program would otherwise end here).
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": not enough memory").arg(path);
        return false;
    }
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(path, f.errorString());
        return false;
    }
    QString why;
    const Progress parsing = [&progress, size, total](qint64 done, qint64) {
        return progress(size + done, total);
    };
    if (!FromBytes(data, doc, &why, parsing)) {
        if (error)
            *error = why.isEmpty()
                         ? QString() // cancelled
                         : QStringLiteral("\"%1\" is not a valid scene file: %2").arg(path, why);
        return false;
    }
    return true;
}

bool SceneFile::Save(CQuivraDoc& doc, const QString& path, QString* error) {
    const bool wasModified = doc.IsModified();
    QString why;
    const auto produce = [&doc](const AtomicFile::Chunk& write) {
        CArchive ar(write, kChunk);
        doc.Serialize(ar);
        ar.Flush();
    };
    if (!AtomicFile::Write(path, produce, &why)) {
        doc.SetModifiedFlag(wasModified);
        if (error)
            *error = QStringLiteral("Cannot save \"%1\": %2").arg(path, why);
        return false;
    }
    return true;
}
