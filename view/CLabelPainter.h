#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

class QPainter;

// Writes text labels into the GL frame: black text on an opaque white box, top-left corner at a
// pixel position (y downward). The text is drawn once with QPainter into a small image and put
// into the frame with glDrawPixels, depth test off, so it lands in drawing order: geometry drawn
// later may cover it. (Painting into the buffer directly would be lost at the next flush.)
// Needs a QGuiApplication for the font.
class CLabelPainter {
public:
    CLabelPainter();

    // Must run with the frame's context current; `width`/`height` are the frame's size.
    // Leaves the viewport, the matrices and the GL state as it found them.
    void Draw(const QString& text, int left, int top, int width, int height);

    // The same label as text on its white box, for a vector picture.
    void Paint(QPainter& painter, const QString& text, int left, int top) const;

    // The image a label is drawn from (cached per text).
    const QImage& LabelImage(const QString& text);

private:
    QFont m_font;
    QHash<QString, QImage> m_cache;
};
