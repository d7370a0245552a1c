#pragma once

#include "ImportedMeas.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// One block of a set received from the instrument: nine 32-bit words (unit word, then
// multiple A/B, speed A/B, amplitude A, phase A, amplitude B, phase B as instrument floats).
struct InstrumentBlock {
    std::array<std::uint32_t, 9> m_words{};

    // Builds a block from plain values (for the instrument's side: simulator and tests).
    static InstrumentBlock Make(int unit, int speedUnit, float multipleA, float multipleB,
                                float speedA, float speedB, float amplitudeA, float phaseA,
                                float amplitudeB, float phaseB);
};

// Received sets: word 0 = K blocks, words 1..5 not interpreted, block i at word 6 + 9 (i - 1).
namespace InstrumentSet {

constexpr int HeaderWords = 6;
constexpr int BlockWords = 9;

// The 4N bytes of a set made of these blocks (K = blocks.size() unless `announcedBlocks` >= 0).
QByteArray Encode(const std::vector<InstrumentBlock>& blocks, long long announcedBlocks = -1);

// Turns a received set into imported records (A and B per block) and the ascending distinct
// positive multiples. Fails, with a message and the outputs untouched, when the set is too short
// to hold its block count or the count K announces blocks beyond the received words.
bool Decode(const QByteArray& data, std::vector<ImportedMeas>* records,
            std::vector<float>* multiples, QString* error);

} // namespace InstrumentSet
