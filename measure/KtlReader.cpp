#include "KtlReader.h"

#include "InstrumentCrc16.h"
#include "LittleEndian.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QFile>

#include <array>

QString KtlResult::Message() const {
    switch (m_nStatus) {
    case Ok:
        return {};
    case OpenFailed:
        return QStringLiteral("Error opening quivra file");
    case ShortHeader:
    case ShortRecord:
        return QStringLiteral("Error reading R4 quivra file");
    case BadChecksum:
        return QStringLiteral("Invalid or corrupted R4 quivra file");
    case BadVersion:
        return QStringLiteral("File format not recognized. \rPlease updat the program.");
    }
    return {};
}

int KtlReader::UnitFromFileCode(int fileCode) {
    static const int table[10] = {9, 1, 0, 2, 3, 5, 6, 4, 7, 8};
    return fileCode >= 0 && fileCode < 10 ? table[fileCode] : fileCode;
}

namespace {

using Header = std::array<unsigned char, KtlReader::HeaderSize>;
using Record = std::array<unsigned char, KtlReader::RecordSize>;

template <std::size_t N> bool ReadBlock(QIODevice& in, std::array<unsigned char, N>& block) {
    return in.read(reinterpret_cast<char*>(block.data()), qint64(N)) == qint64(N);
}

bool RecordCheckMatches(const Record& r) {
    std::uint32_t sum = 1;
    for (int i = 0; i < 40; ++i)
        sum += r[i];
    return sum == le::U32<40>(r);
}

ImportedMeas ToImported(const Record& r) {
    ImportedMeas m;
    m.m_nId = le::U16<2>(r);
    m.m_fAmplitude = le::F32<8>(r);
    m.m_fPhase = le::F32<12>(r);
    m.m_fSpeed = le::F32<16>(r);
    m.m_fMultiple = le::F32<20>(r);
    m.m_nFreqUnit = le::U8<24>(r) == 13 ? 0 : 1;
    m.m_nUnit = KtlReader::UnitFromFileCode(le::U8<25>(r));
    return m;
}

} // namespace

KtlResult KtlReader::Read(QIODevice& in) {
    KtlResult res;
    Header h;
    if (!ReadBlock(in, h)) {
        res.m_nStatus = KtlResult::ShortHeader;
        return res;
    }
    // The whole 32-bit word must equal the 16-bit sum: a non-zero upper half is corruption.
    if (le::U32<364>(h) != InstrumentCrc16(h.data(), 364)) {
        res.m_nStatus = KtlResult::BadChecksum;
        return res;
    }
    if (le::U32<8>(h) > MaxVersion) {
        res.m_nStatus = KtlResult::BadVersion;
        return res;
    }
    const int slotCount = (le::U8<300>(h) & CountedFlag) ? le::U16<296>(h) : SlotCount;
    float m1 = 0.f, m2 = 0.f;
    Record r;
    for (int i = 0; i < slotCount; ++i) {
        if (!ReadBlock(in, r)) {
            res.m_nStatus = KtlResult::ShortRecord;
            return res;
        }
        if (!RecordCheckMatches(r))
            continue;
        const ImportedMeas m = ToImported(r);
        res.m_records.push_back(m);
        if (m1 == 0.f && m.m_fMultiple > 0.f)
            m1 = m.m_fMultiple;
        if (m2 == 0.f && m.m_fMultiple != m1)
            m2 = m.m_fMultiple;
    }
    if (m2 < m1)
        res.m_multiples = {m2, m1};
    else
        res.m_multiples = {m1, m2};
    return res;
}

KtlResult KtlReader::ReadFile(const QString& path) {
    QFile file;
    QString why;
    if (!RegularFile::OpenForReading(file, path, &why)) {
        KtlResult res;
        res.m_nStatus = KtlResult::OpenFailed;
        res.m_strOpenError = why;
        return res;
    }
    return Read(file);
}

KtlResult KtlReader::ReadBytes(const QByteArray& bytes) {
    QByteArray copy = bytes; // QBuffer wants a non-const array; the copy shares the data
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return Read(buffer);
}
