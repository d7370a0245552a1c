#pragma once

// Builds *.KTL files for tests: a checksummed header and 44-byte record m_slots.
#include "InstrumentCrc16.h"
#include "TestFiles.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

struct KtlRec {
    std::uint16_t id = 0;
    float amplitude = 0.f;
    float phase = 0.f;
    float speed = 0.f;
    float multiple = 0.f;
    std::uint8_t speedUnit = 13; // Hz
    std::uint8_t unitCode = 3;   // mm/s
};

inline void PutLe(QByteArray& b, int off, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline void PutFloat(QByteArray& b, int off, float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    PutLe(b, off, bits, 4);
}

struct KtlBuilder {
    std::uint32_t version = 100;
    bool counted = true;                        // flag 0x02
    std::optional<std::uint16_t> countOverride; // the header's count, else the slot count
    std::uint32_t checksumUpper = 0;            // OR-ed into the checksum word's upper half
    bool breakChecksum = false;
    std::vector<QByteArray> m_slots;

    static QByteArray Record(const KtlRec& r) {
        QByteArray b(44, '\0');
        b[0] = 0x11; // bytes the reader ignores still count in the check
        PutLe(b, 2, r.id, 2);
        PutFloat(b, 8, r.amplitude);
        PutFloat(b, 12, r.phase);
        PutFloat(b, 16, r.speed);
        PutFloat(b, 20, r.multiple);
        b[24] = static_cast<char>(r.speedUnit);
        b[25] = static_cast<char>(r.unitCode);
        b[30] = 0x5A;
        std::uint32_t sum = 1;
        for (int i = 0; i < 40; ++i)
            sum += static_cast<unsigned char>(b[i]);
        PutLe(b, 40, sum, 4);
        return b;
    }
    KtlBuilder& Add(const KtlRec& r) {
        m_slots.push_back(Record(r));
        return *this;
    }
    KtlBuilder& AddDamaged(const KtlRec& r) {
        QByteArray b = Record(r);
        b[9] = static_cast<char>(b[9] ^ 0x01);
        m_slots.push_back(b);
        return *this;
    }
    KtlBuilder& AddFilled(char byte) {
        m_slots.push_back(QByteArray(44, byte));
        return *this;
    }

    QByteArray Header() const {
        QByteArray h(368, '\0');
        for (int i = 0; i < 368; ++i)
            h[i] = static_cast<char>((i * 7) & 0xFF); // unlisted bytes are covered by the sum
        PutLe(h, 8, version, 4);
        PutLe(h, 296, countOverride ? *countOverride : std::uint16_t(m_slots.size()), 2);
        h[300] = static_cast<char>(counted ? 0x02 | 0x01 : 0x01);
        std::uint32_t sum =
            InstrumentCrc16(reinterpret_cast<const unsigned char*>(h.constData()), 364);
        if (breakChecksum)
            sum ^= 0x0100;
        PutLe(h, 364, sum | (checksumUpper << 16), 4);
        return h;
    }
    QByteArray Bytes() const {
        QByteArray b = Header();
        for (const QByteArray& s : m_slots)
            b += s;
        return b;
    }
};

// Writes `bytes` as file `name` in `dir`; returns its path.
inline QString WriteTestFile(const QTemporaryDir& dir, const QString& name,
                             const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteBytes(path, bytes)) << name.toStdString();
    return path;
}
