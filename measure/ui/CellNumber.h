#pragma once

#include <QString>

class CQuivraDoc;
class CornerPoint;
class MeasDirection;

// Number formatting shared by the editable tables and the series windows; reading is
// numtext::ParseLeadingDouble (NumberText.h), under the same locale.

// "%g", "%.4g" (the user's decimal separator) and "%d" as shown in fields and tables.
QString FormatG(double v);
QString Format4G(double v);
QString FormatInt(int v);

// Whether a record taken from a table row is still part of the document's live scene. The
// tables keep raw pointers; a check before writing through one costs a linear scan, which is
// cheap next to the harm of writing into a destroyed record.
bool IsLivePoint(const CQuivraDoc* doc, const CornerPoint* p);
bool IsLiveDirection(const CQuivraDoc* doc, const MeasDirection* d);

// The current series index when it names an existing series, else -1 ("no series").
int ValidSeries(const CQuivraDoc* doc, int current);
