#pragma once

#include <QString>

class CQuivraDoc;

namespace soak {

// What is wrong with the document, or "" when it is sound: every line ends at a live point,
// selections and the highlight hold live records only, every direction has one measurement per
// series, and its bytes read back into a document that writes the same bytes again.
QString BrokenInvariant(CQuivraDoc& doc);

} // namespace soak
