// Fuzz target for the Universal File reader: never crash, and an accepted file leaves a scene
// that saves and loads back unchanged.
#include "CQuivraDoc.h"
#include "SceneFile.h"
#include "UffReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CQuivraDoc doc;
    if (!UffReader::Import(bytes, doc, nullptr, nullptr))
        return 0;
    const QByteArray saved = SceneFile::ToBytes(doc);
    CQuivraDoc again;
    if (!SceneFile::FromBytes(saved, again, nullptr) || SceneFile::ToBytes(again) != saved)
        std::abort();
    return 0;
}
