// Fuzz target for the scene file reader: anything it accepts must save and load back the same,
// and reading the bytes a few at a time, as from a file, must come to the same verdict.
#include "CArchive.h"
#include "CQuivraDoc.h"
#include "SceneFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CQuivraDoc doc;
    const bool ok = SceneFile::FromBytes(bytes, doc, nullptr);

    std::size_t at = 0;
    CArchive streamed(
        [&](char* into, std::size_t max) {
            const std::size_t n = std::min({max, size - at, std::size_t(7)});
            if (n > 0)
                std::memcpy(into, data + at, n);
            at += n;
            return n;
        },
        size, 64);
    CQuivraDoc doc2;
    bool ok2 = true;
    try {
        doc2.Serialize(streamed);
    } catch (const ArchiveError&) {
        ok2 = false;
    } catch (const std::bad_alloc&) {
        ok2 = false;
    }
    if (ok != ok2)
        std::abort();
    if (!ok)
        return 0;
    const QByteArray saved = SceneFile::ToBytes(doc);
    if (SceneFile::ToBytes(doc2) != saved)
        std::abort();
    CQuivraDoc again;
    if (!SceneFile::FromBytes(saved, again, nullptr) || SceneFile::ToBytes(again) != saved)
        std::abort();
    return 0;
}
