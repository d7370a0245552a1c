#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

class CQuivraDoc;
class CViewState;
class QPainter;

// What a picture shows, written into it: the scene file, the series, its frequency in Hz and
// RPM, the amplification and, while the shape moves, the phase angle of the frame. Drawn with
// QPainter, so the view's frames, the saved animation images and a printed or exported page all
// carry the same text.
class CCaption {
public:
    // The caption's lines for the view state (the phase only while animating a series).
    static QStringList Lines(const CQuivraDoc& doc, const CViewState& state);
    // The phase angle of `frame` in degrees, as the caption writes it ("135", "7.5").
    static QString PhaseText(int frame, int framesPerPeriod);

    // Paints `lines` in the bottom-left corner of `area`, the first line bold, on a translucent
    // white panel. `scale` enlarges text and margins (1 on screen; a printer's dots per screen
    // pixel on paper). Returns the panel's rectangle.
    static QRect Paint(QPainter& painter, const QRect& area, const QStringList& lines,
                       double scale = 1.0);
    // The rectangle Paint would return, without painting.
    static QRect PanelRect(const QRect& area, const QStringList& lines, double scale = 1.0);
    // The font the caption and the colour bar use at `scale`.
    static QFont Font(double scale = 1.0);
};
