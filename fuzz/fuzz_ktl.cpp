// libFuzzer target for the instrument's outside bytes: *.KTL files and received sets.
#include "InstrumentSet.h"
#include "KtlReader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const KtlResult r = KtlReader::ReadBytes(bytes);
    // The multiples exist exactly when every slot was read.
    if ((r.m_nStatus == KtlResult::Ok) != (r.m_multiples.size() == 2))
        __builtin_trap();
    std::vector<ImportedMeas> records;
    std::vector<float> multiples;
    QString error;
    if (InstrumentSet::Decode(bytes, &records, &multiples, &error)) {
        for (std::size_t i = 1; i < multiples.size(); ++i)
            if (!(multiples[i - 1] < multiples[i]))
                __builtin_trap();
    }
    return 0;
}
