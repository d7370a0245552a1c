#include "InstrumentSimulator.h"

#include "InstrumentSet.h"
#include "KtlReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

void InstrumentSimulator::AddSet(const QString& name, const QByteArray& data) {
    m_sets[name] = data;
}

QStringList InstrumentSimulator::Names() const {
    QStringList names;
    for (const auto& s : m_sets)
        names << s.first;
    return names;
}

bool InstrumentSimulator::LoadDirectory(const QString& dir, QString* error) {
    const QFileInfoList files =
        QDir(dir).entryInfoList({QStringLiteral("*.set"), QStringLiteral("*.KTL")}, QDir::Files);
    for (const QFileInfo& fi : files) {
        QByteArray data;
        if (fi.suffix() == QLatin1String("KTL")) {
            data = SetFromKtlFile(fi.filePath(), error);
            if (data.isEmpty())
                return false;
        } else {
            QFile f(fi.filePath());
            if (!f.open(QIODevice::ReadOnly)) {
                *error = QStringLiteral("cannot read %1").arg(fi.filePath());
                return false;
            }
            data = f.readAll();
        }
        AddSet(fi.completeBaseName(), data);
    }
    return true;
}

QByteArray SetFromKtlFile(const QString& path, QString* error) {
    const KtlResult r = KtlReader::ReadFile(path);
    if (r.m_nStatus != KtlResult::Ok) {
        *error = QStringLiteral("%1: %2").arg(path, r.Message());
        return {};
    }
    int maxId = 0;
    for (const ImportedMeas& m : r.m_records)
        maxId = std::max(maxId, m.m_nId);
    std::vector<InstrumentBlock> blocks;
    for (int id = 1; id <= maxId; ++id) {
        std::vector<const ImportedMeas*> same;
        for (const ImportedMeas& m : r.m_records)
            if (m.m_nId == id && same.size() < 2)
                same.push_back(&m);
        const ImportedMeas none{};
        const ImportedMeas& a = same.size() > 0 ? *same[0] : none;
        const ImportedMeas& b = same.size() > 1 ? *same[1] : none;
        blocks.push_back(InstrumentBlock::Make(
            a.m_nUnit, a.m_nFreqUnit, a.m_fMultiple, b.m_fMultiple, a.m_fSpeed, b.m_fSpeed,
            a.m_fAmplitude, a.m_fPhase, b.m_fAmplitude, b.m_fPhase));
    }
    return InstrumentSet::Encode(blocks);
}

QByteArray InstrumentSimulator::Receive(const QByteArray& in) {
    QByteArray out;
    if (m_faults.m_bSilent)
        return out;
    if (m_faults.m_bBabble && !in.isEmpty())
        m_bBabbling = true;
    for (char c : in) {
        if (m_line.isEmpty() && c == '\x40') {
            ++m_nWakeBytes;
            if (m_faults.m_bRefuse) {
                out += '\xFF';
                continue;
            }
            if (m_nGarbageLeft < 0)
                m_nGarbageLeft = m_faults.m_nGarbage;
            if (m_nGarbageLeft > 0) {
                --m_nGarbageLeft;
                out += 'x';
                continue;
            }
            m_nGarbageLeft = -1; // the next wake-up starts over
            out += '>';
            continue;
        }
        if (c == '\n') {
            Command(m_line, out);
            m_line.clear();
        } else if (m_line.size() < 4096) {
            m_line += c;
        }
    }
    return out;
}

void InstrumentSimulator::Command(const QByteArray& line, QByteArray& out) {
    if (line.size() == 2 && line[0] == 'T') {
        m_cMode = line[1];
        out += m_faults.m_bNoMode ? QByteArray("?\r\n") : QByteArray(1, m_cMode) + '>';
    } else if (line == "D" && m_cMode == 'V') {
        for (const auto& s : m_sets)
            out += s.first.toLatin1() + "\r\n";
        if (!m_faults.m_bEndlessListing)
            out += '>';
    } else if (line.startsWith("BG V")) {
        SendSet(line.mid(4), out);
    } else {
        out += "?\r\n>";
    }
}

static void AppendWord(QByteArray& out, quint32 w) {
    for (int i = 0; i < 4; ++i)
        out += char((w >> (8 * i)) & 0xFF);
}

void InstrumentSimulator::SendSet(const QByteArray& name, QByteArray& out) {
    auto it = m_sets.find(QString::fromLatin1(name));
    // An unknown set comes back empty: no words and a zero sum.
    QByteArray data = it == m_sets.end() ? QByteArray() : it->second;
    if (m_faults.m_nBlockCount >= 0 && data.size() >= 4)
        for (int i = 0; i < 4; ++i)
            data[i] = char((quint64(m_faults.m_nBlockCount) >> (8 * i)) & 0xFF);
    quint32 sum = 0;
    for (char c : data)
        sum += static_cast<unsigned char>(c);
    AppendWord(out, m_faults.m_bAbsurdCount ? 0x7FFFFFF0u : quint32(data.size() / 4));
    if (m_faults.m_bShortSet) {
        out += data.left(data.size() / 2);
        return;
    }
    out += data;
    AppendWord(out, m_faults.m_bBadChecksum ? sum + 1 : sum);
}
