#pragma once

#include <QString>

class CQuivraDoc;

// What an instrument file import did to the document, so that the window layer knows whether
// to rebuild and show the Imported Instrument Measurements window.
enum class ImportOutcome {
    Imported, // records and multiples replaced: rebuild and show the window
    Refused,  // header failure: the document's imported records are unchanged
    Partial   // short record: the records read so far replaced the old ones, the multiples are
              // empty; rebuild the window (without showing it) so no row outlives its record
};

// The window-free part of "R4 import": reads `path` into doc->m_importedMeas and
// doc->m_importedMultiples. On failure `*message` (when given) gets the text to show; it is
// emptied on success. The scene itself is never changed.
ImportOutcome ImportInstrumentFile(const QString& path, CQuivraDoc* doc, QString* message);
