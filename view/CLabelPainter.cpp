#include "CLabelPainter.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "OSMesaApi.h"

CLabelPainter::CLabelPainter() : m_font(QGuiApplication::font()) {}

const QImage& CLabelPainter::LabelImage(const QString& text) {
    auto it = m_cache.find(text);
    if (it != m_cache.end())
        return *it;
    // Labels are point and direction numbers: few distinct texts, drawn every frame.
    if (m_cache.size() > 20000)
        m_cache.clear();
    const QFontMetrics fm(m_font);
    const int w = std::max(1, fm.horizontalAdvance(text));
    const int h = std::max(1, fm.height());
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(m_font);
    p.setPen(Qt::black);
    p.drawText(0, fm.ascent(), text);
    p.end();
    return *m_cache.insert(text, img);
}

void CLabelPainter::Paint(QPainter& painter, const QString& text, int left, int top) const {
    // In pixels of the frame, as on the screen: a point size would grow with the printer's
    // resolution while the picture is scaled to the page.
    QFont font = m_font;
    font.setPixelSize(QFontInfo(m_font).pixelSize());
    const QFontMetrics fm(font);
    painter.save();
    painter.fillRect(QRect(left, top, std::max(1, fm.horizontalAdvance(text)), fm.height()),
                     Qt::white);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(left, top + fm.ascent(), text);
    painter.restore();
}

void CLabelPainter::Draw(const QString& text, int left, int top, int width, int height) {
    const QImage& img = LabelImage(text);

    glPushAttrib(GL_ENABLE_BIT | GL_PIXEL_MODE_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT);
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // A valid raster position at the window's corner, then moved without clipping: a label
    // partly outside the frame keeps its visible part.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<float>(left), static_cast<float>(height - top), nullptr);
    // Image rows run downward.
    glPixelZoom(1.0f, -1.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glDrawPixels(img.width(), img.height(), GL_BGRA, GL_UNSIGNED_BYTE, img.constBits());

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
