// Fuzz target for the scene file reader: anything it accepts must save and load back the same.
#include "CQuivraDoc.h"
#include "SceneFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CQuivraDoc doc;
    if (!SceneFile::FromBytes(bytes, doc, nullptr))
        return 0;
    const QByteArray saved = SceneFile::ToBytes(doc);
    CQuivraDoc again;
    if (!SceneFile::FromBytes(saved, again, nullptr) || SceneFile::ToBytes(again) != saved)
        std::abort();
    return 0;
}
