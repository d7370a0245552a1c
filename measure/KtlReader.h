#pragma once

#include "ImportedMeas.h"

#include <QString>

#include <vector>

class QByteArray;
class QIODevice;

// What reading one *.KTL file gave.
struct KtlResult {
    enum Status {
        Ok,          // header and every record slot read
        OpenFailed,  // "Error opening quivra file"
        ShortHeader, // "Error reading R4 quivra file"
        BadChecksum, // "Invalid or corrupted R4 quivra file"
        BadVersion,  // "File format not recognized. \rPlease updat the program."
        ShortRecord  // "Error reading R4 quivra file"; m_records holds the records read so far
    };
    Status m_nStatus = Ok;
    // OpenFailed: why, in a few words (the message box shows only the fixed text).
    QString m_strOpenError;
    std::vector<ImportedMeas> m_records;
    // Exactly two entries (smaller first) when the status is Ok; empty otherwise.
    std::vector<float> m_multiples;

    // The header passed: the document's imported records are to be replaced by m_records.
    bool HeaderAccepted() const { return m_nStatus == Ok || m_nStatus == ShortRecord; }
    // The user's message for a failure; empty for Ok.
    QString Message() const;
};

// Reader of the instrument's data files: a 368-byte header guarded by InstrumentCrc16, then
// 44-byte record slots, each with an additive check. Damaged or empty slots are skipped.
class KtlReader {
public:
    static constexpr int HeaderSize = 368;
    static constexpr int RecordSize = 44;
    static constexpr unsigned MaxVersion = 120;
    static constexpr int SlotCount = 4096; // records in a file whose count flag is clear
    static constexpr unsigned CountedFlag = 0x02;

    static KtlResult ReadFile(const QString& path);
    static KtlResult Read(QIODevice& in);
    static KtlResult ReadBytes(const QByteArray& bytes);

    // File unit code -> UnitTable index; codes above 9 are kept as they are (shown as "?").
    static int UnitFromFileCode(int fileCode);
};
