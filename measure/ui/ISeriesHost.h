#pragma once

// What the series and measurement windows need of the view they are bound to: the index of the
// series the view animates, and an immediate repaint. The scene view implements it.
class ISeriesHost {
public:
    virtual ~ISeriesHost() = default;
    // The view's m_nCurrentSeries. May name no series (no series exist, or the document changed
    // under the view); the windows check it against the document before every use.
    virtual int CurrentSeries() const = 0;
    virtual void SetCurrentSeries(int k) = 0;
    // Invalidate, erase and paint the view before returning.
    virtual void RepaintNow() = 0;
};
