#pragma once

#include "ImportedMeas.h"

#include <QString>
#include <QStringList>

#include <vector>

class CQuivraDoc;
class MeasDirection;

// The window-free rules of the Imported Instrument Measurements window: its "Multiple :"
// choices, the filtered rows with their texts, and the two copy operations.
class ImportedMeasTable {
public:
    struct Choice {
        QString m_strText;
        float m_fValue;
    };
    // "All" (value 0), then one entry per multiple, in order, shown with "%f".
    static std::vector<Choice> MultipleChoices(const std::vector<float>& multiples);

    // The records shown under `filter` (0 = all, else exactly that multiple), in array order.
    static std::vector<const ImportedMeas*> Rows(const std::vector<ImportedMeas>& records,
                                                 float filter);

    // The seven column texts: Id, Amplitude, Angle, Unit, Speed, Rot. Unit, Multiple, numbers
    // in "%f" with the user's decimal separator ("nan" and "inf" show as such). Unit codes
    // without a table entry show "?".
    static QStringList RowTexts(const ImportedMeas& m);

    // Whether the record's amplitude and phase are finite numbers; no other record is ever
    // copied into the scene.
    static bool HasFiniteValues(const ImportedMeas& m);

    // "Copy >": undo snapshot, modified, then the record's amplitude and phase go to `direction`
    // in `series`. Nothing happens without a record or a direction, or for a record whose
    // values are not finite.
    static bool CopyOne(CQuivraDoc* doc, const ImportedMeas* record, MeasDirection* direction,
                        int series);

    // The rows of the Measurements window, whether it is shown or not: every direction of the
    // scene by ascending number, among equal numbers the one collected later first.
    static std::vector<MeasDirection*> MeasurementRows(const CQuivraDoc& doc);

    struct CopyAllResult {
        int nCopied = 0;      // directions that received values
        int nUnmatched = 0;   // records looked at whose id matches no direction
        int nNotLookedAt = 0; // records beyond the first min(n, m)
        int nNotFinite = 0;   // records looked at whose values are not finite (not copied)
        bool bChanged = false;
        // Every copied record has this one finite, positive speed in Hz (0) or RPM (1).
        bool bOneSpeed = false;
        float fSpeed = 0.f;
        int nFreqUnit = 0;
    };
    // "Copy All >>": with n shown rows and m Measurements rows (directions, top down), each of
    // the first min(n, m) rows gives its values to the first direction whose number equals its
    // id. The document takes its undo snapshot and is marked modified only when something is
    // copied. Linear in n + m.
    static CopyAllResult CopyAll(CQuivraDoc* doc, const std::vector<const ImportedMeas*>& rows,
                                 const std::vector<MeasDirection*>& measRows, int series);
    // What a Copy All did, in one or two sentences for a status line.
    static QString Summary(const CopyAllResult& r);
};
