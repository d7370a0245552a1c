#pragma once

#include <QString>

class CQuivraDoc;
class CornerPoint;
class MeasDirection;

// Number reading and formatting shared by the editable tables and the series windows.

// The longest leading decimal number of `text` (leading blanks skipped); 0 when there is none.
// Only plain decimal forms count ("inf", "nan" and hexadecimal do not), and a value too large
// for a double reads 0, so a typo can never put an infinite coordinate or amplitude into the
// scene.
double ReadLeadingNumber(const QString& text);

// "%g", "%.4g" and "%d" as shown in fields and tables.
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
