#include "CVectorPicture.h"

#include "COffscreenGL.h"
#include "CSceneRenderer.h"
#include "RenderHelpers.h"

#include "OSMesaApi.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

// Floats per vertex of GL_3D_COLOR in RGBA mode: x, y, z, r, g, b, a.
constexpr int kVertexFloats = 7;
// The feedback buffer grows up to this many floats (a scene of some ten million lines).
constexpr std::size_t kMaxFeedback = std::size_t(1) << 28;

QColor ColourOf(const float* v) {
    return QColor::fromRgbF(v[3], v[4], v[5], v[6]);
}

} // namespace

namespace {

// Draws one frame in feedback mode into `buffer`, labels and panels going to `overlay`;
// returns GL's count of values (negative when the buffer was too small), or a value below
// -1 when nothing was drawn.
GLint Feedback(std::vector<float>& buffer, QPainter& overlay, COffscreenGL& gl,
               CSceneRenderer& renderer, const CQuivraDoc& doc, CViewState& state, int width,
               int height) {
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    renderer.m_pVectorOverlay = &overlay;
    const bool drawn = renderer.RenderFrame(gl, doc, state, width, height);
    renderer.m_pVectorOverlay = nullptr;
    const GLint count = glRenderMode(GL_RENDER);
    return drawn ? count : -2;
}

} // namespace

bool CVectorPicture::Capture(COffscreenGL& gl, CSceneRenderer& renderer, const CQuivraDoc& doc,
                             CViewState& state, int width, int height) {
    m_items.clear();
    m_nWidth = width;
    m_nHeight = height;
    if (!gl.MakeCurrent())
        return false;
    std::vector<float> buffer(std::size_t(1) << 16);
    for (;;) {
        // The labels and panels are painted later, onto the real target.
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter ignored(&scratch);
        const GLint count = Feedback(buffer, ignored, gl, renderer, doc, state, width, height);
        if (count < -1)
            return false;
        if (count >= 0) {
            Parse(buffer, count);
            return true;
        }
        // The buffer overflowed: the frame is taken again with a larger one.
        if (buffer.size() >= kMaxFeedback)
            return false;
        buffer.resize(buffer.size() * 4);
    }
}

bool CVectorPicture::PaintOverlay(QPainter& painter, COffscreenGL& gl, CSceneRenderer& renderer,
                                  const CQuivraDoc& doc, CViewState& state, int width, int height) {
    if (!gl.MakeCurrent())
        return false;
    // The geometry is not wanted this time; a buffer too small for it costs nothing.
    std::vector<float> buffer(16);
    painter.save();
    const bool drawn = Feedback(buffer, painter, gl, renderer, doc, state, width, height) >= -1;
    painter.restore();
    return drawn;
}

bool CVectorPicture::Draw(QPainter& painter, COffscreenGL& gl, CSceneRenderer& renderer,
                          const CQuivraDoc& doc, CViewState& state, int width, int height) {
    CVectorPicture picture;
    if (!picture.Capture(gl, renderer, doc, state, width, height))
        return false;
    picture.Paint(painter);
    return PaintOverlay(painter, gl, renderer, doc, state, width, height);
}

void CVectorPicture::Parse(const std::vector<float>& b, int count) {
    float lineWidth = 1.0f, pointSize = 1.0f;
    const auto n = static_cast<std::size_t>(count);
    auto vertex = [&](std::size_t at) {
        return Vertex{QPointF(b[at], m_nHeight - b[at + 1]), ColourOf(&b[at])};
    };
    for (std::size_t i = 0; i < n;) {
        const auto token = static_cast<GLenum>(b[i++]);
        switch (token) {
        case GL_PASS_THROUGH_TOKEN: {
            const float tag = b[i++];
            // A mark is a pair: the tag, then the value in a token of its own.
            if (i + 1 < n && static_cast<GLenum>(b[i]) == GL_PASS_THROUGH_TOKEN) {
                if (tag == renderhelpers::kLineWidthTag)
                    lineWidth = b[i + 1];
                else if (tag == renderhelpers::kPointSizeTag)
                    pointSize = b[i + 1];
                i += 2;
            }
            break;
        }
        case GL_POINT_TOKEN:
            m_items.push_back({Point, pointSize, {vertex(i)}, b[i + 2]});
            i += kVertexFloats;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            m_items.push_back({Line,
                               lineWidth,
                               {vertex(i), vertex(i + kVertexFloats)},
                               (b[i + 2] + b[i + kVertexFloats + 2]) / 2.0});
            i += 2 * kVertexFloats;
            break;
        case GL_POLYGON_TOKEN: {
            const auto corners = static_cast<std::size_t>(b[i++]);
            Item item{Polygon, 0.0f, {}, 0.0};
            for (std::size_t k = 0; k < corners; ++k, i += kVertexFloats) {
                item.vertices.push_back(vertex(i));
                item.depth += b[i + 2] / static_cast<double>(corners);
            }
            if (corners > 0)
                m_items.push_back(std::move(item));
            break;
        }
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            // Raster positions only; the labels come as text through the overlay.
            i += kVertexFloats;
            break;
        default:
            i = n; // not a token: the stream is not what GL documents, stop reading it
            break;
        }
    }
    // The depth test of the frame, as a painter's order: far before near, and in drawing order
    // where equally deep (the moving shape over the rest shape pushed back behind it).
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const Item& a, const Item& b) { return a.depth > b.depth; });
}

int CVectorPicture::Count(Kind kind) const {
    int c = 0;
    for (const Item& item : m_items)
        c += item.kind == kind ? 1 : 0;
    return c;
}

void CVectorPicture::Paint(QPainter& painter) const {
    painter.save();
    painter.setClipRect(QRectF(0, 0, m_nWidth, m_nHeight));
    painter.fillRect(QRectF(0, 0, m_nWidth, m_nHeight), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Item& item : m_items) {
        const Vertex& a = item.vertices.front();
        switch (item.kind) {
        case Point:
            painter.setPen(Qt::NoPen);
            painter.setBrush(a.colour);
            painter.drawEllipse(a.at, item.size / 2.0, item.size / 2.0);
            break;
        case Line: {
            const Vertex& b = item.vertices.back();
            // A line whose ends differ in colour (the clear look's displacement colours) takes
            // the mean of the two: one path per line keeps the file small and plain.
            QColor c = a.colour;
            if (a.colour != b.colour)
                c = QColor::fromRgbF((a.colour.redF() + b.colour.redF()) / 2,
                                     (a.colour.greenF() + b.colour.greenF()) / 2,
                                     (a.colour.blueF() + b.colour.blueF()) / 2,
                                     (a.colour.alphaF() + b.colour.alphaF()) / 2);
            painter.setPen(QPen(c, item.size, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(a.at, b.at);
            break;
        }
        case Polygon: {
            QPolygonF poly;
            for (const Vertex& v : item.vertices)
                poly << v.at;
            painter.setPen(Qt::NoPen);
            painter.setBrush(a.colour);
            painter.drawPolygon(poly);
            break;
        }
        }
    }
    painter.restore();
}
