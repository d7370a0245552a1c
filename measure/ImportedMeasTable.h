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

    // The seven column texts: Id, Amplitude, Angle, Unit, Speed, Rot. Unit, Multiple. Unit codes
    // without a table entry show "?".
    static QStringList RowTexts(const ImportedMeas& m);

    // "Copy >": undo snapshot, modified, then the record's amplitude and phase go to `direction`
    // in `series`. Nothing happens without a record or a direction.
    static bool CopyOne(CQuivraDoc* doc, const ImportedMeas* record, MeasDirection* direction,
                        int series);

    // "Copy All >>": with n shown rows and m Measurements rows (directions, top down), each of
    // the first min(n, m) rows gives its values to the first direction whose number equals its
    // id. Nothing happens without rows; otherwise the document takes its undo snapshot and is
    // marked modified, even when no number matches.
    static bool CopyAll(CQuivraDoc* doc, const std::vector<const ImportedMeas*>& rows,
                        const std::vector<MeasDirection*>& measRows, int series);
};
