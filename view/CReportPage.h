#pragma once

#include <QDateTime>
#include <QRect>
#include <QStringList>

class CQuivraDoc;
class CViewState;
class QPainter;

// A printed page of a scene view: a header naming the file, series, frequency (Hz and RPM),
// amplification, frame phase and date, and below it the picture as line art, placed by the
// print rule (top-left, proportions kept, filling the page in one direction). Optionally the
// rest shape and the frame of the largest deflection side by side.
class CReportPage {
public:
    // The header's two lines: file and date; series, frequency, amplification and phase.
    static QStringList HeaderLines(const CQuivraDoc& doc, const CViewState& state,
                                   const QDateTime& when);
    // The frame of the period in which the points are farthest from rest, in sum.
    static int LargestDeflectionFrame(const CQuivraDoc& doc, int series);

    // Paints the page into `area` (the printable part of the page, in device units) for a view
    // of width x height. False when nothing could be drawn.
    static bool Paint(QPainter& painter, const QRect& area, const CQuivraDoc& doc,
                      const CViewState& state, int width, int height, bool sideBySide,
                      const QDateTime& when);
};
