// libFuzzer target for the instrument's outside bytes: *.KTL files.
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
    return 0;
}
