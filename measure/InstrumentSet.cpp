#include "InstrumentSet.h"

#include "InstrumentFloat.h"
#include "LittleEndian.h"

InstrumentBlock InstrumentBlock::Make(int unit, int speedUnit, float multipleA, float multipleB,
                                      float speedA, float speedB, float amplitudeA, float phaseA,
                                      float amplitudeB, float phaseB) {
    InstrumentBlock b;
    b.m_words[0] = (std::uint32_t(unit) & 0xFFu) | (std::uint32_t(speedUnit) << 8);
    const float values[8] = {multipleA,  multipleB, speedA,     speedB,
                             amplitudeA, phaseA,    amplitudeB, phaseB};
    for (int i = 0; i < 8; ++i)
        b.m_words[i + 1] = IeeeToInstrumentFloat(values[i]);
    return b;
}

namespace InstrumentSet {

QByteArray Encode(const std::vector<InstrumentBlock>& blocks, long long announcedBlocks) {
    const int words = HeaderWords + BlockWords * int(blocks.size());
    QByteArray data(4 * words, '\0');
    auto* p = reinterpret_cast<unsigned char*>(data.data());
    le::PutU32(p, std::uint32_t(announcedBlocks >= 0 ? announcedBlocks : blocks.size()));
    for (std::size_t i = 0; i < blocks.size(); ++i)
        for (int w = 0; w < BlockWords; ++w)
            le::PutU32(p + 4 * (HeaderWords + BlockWords * i + w), blocks[i].m_words[w]);
    return data;
}

bool Decode(const QByteArray& data, std::vector<ImportedMeas>* records,
            std::vector<float>* multiples, QString* error) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype words = data.size() / 4;
    if (words < 1) {
        *error = QStringLiteral("The instrument sent an empty set.");
        return false;
    }
    // K is not checked by the instrument; blocks past the received words would be garbage.
    const std::uint32_t k = le::U32At(p);
    const qsizetype fit = words < HeaderWords ? 0 : (words - HeaderWords) / BlockWords;
    if (qsizetype(k) > fit) {
        *error = QStringLiteral("The set is damaged: it announces %1 blocks but holds only %2.")
                     .arg(k)
                     .arg(fit);
        return false;
    }
    std::vector<ImportedMeas> out;
    for (std::uint32_t i = 0; i < k; ++i) {
        const unsigned char* b = p + 4 * (HeaderWords + BlockWords * qsizetype(i));
        auto f = [b](int w) { return InstrumentFloatToIeee(le::U32At(b + 4 * w)); };
        const std::uint32_t unitWord = le::U32At(b);
        ImportedMeas a;
        a.m_nId = std::int32_t(i + 1);
        a.m_nUnit = std::int32_t(unitWord & 0xFFu);
        a.m_nFreqUnit = std::int32_t(unitWord) >> 8; // the sign is kept
        ImportedMeas bm = a;
        a.m_fMultiple = f(1);
        a.m_fSpeed = f(3);
        a.m_fAmplitude = f(5);
        a.m_fPhase = f(6);
        bm.m_fMultiple = f(2);
        bm.m_fSpeed = f(4);
        bm.m_fAmplitude = f(7);
        bm.m_fPhase = f(8);
        if (a.m_fMultiple > 0.f)
            out.push_back(a);
        if (bm.m_fMultiple != a.m_fMultiple && bm.m_fMultiple > 0.f)
            out.push_back(bm);
    }
    // Every distinct positive multiple, ascending, by repeated search above the previous one.
    std::vector<float> mult;
    float prev = 0.f;
    for (;;) {
        float best = 1e10f;
        for (const ImportedMeas& m : out)
            if (m.m_fMultiple < best && m.m_fMultiple > prev)
                best = m.m_fMultiple;
        if (best == 1e10f)
            break;
        mult.push_back(best);
        prev = best;
    }
    *records = std::move(out);
    *multiples = std::move(mult);
    return true;
}

} // namespace InstrumentSet
