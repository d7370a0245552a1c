// Fuzz target for the Universal File reader: never crash, and an accepted file leaves a scene
// that saves and loads back unchanged. The file goes into a scene that already has points,
// directions and a series, so that values for the scene's own points are tried too.
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "SceneFile.h"
#include "UffReader.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    CQuivraDoc doc;
    doc.AddSeries();
    for (int i = 0; i < 3; ++i) {
        auto* p = new CornerPoint(i, 0, 0, &doc);
        doc.m_freePoints.push_back(p);
        p->m_directions.push_back(new MeasDirection(i == 1 ? DirMinusY : DirPlusX, p));
    }
    UffReader reader;
    UffReader::Options convert{true, UffUnits::Millimetre};
    if (!reader.Read(in, nullptr) || !reader.AddTo(doc, convert, nullptr, nullptr))
        return 0;
    const QByteArray saved = SceneFile::ToBytes(doc);
    CQuivraDoc again;
    if (!SceneFile::FromBytes(saved, again, nullptr) || SceneFile::ToBytes(again) != saved)
        std::abort();
    return 0;
}
