#include "CSceneRenderer.h"

#include "CBatchSubmitter.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "Deflection.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "ReducedLines.h"
#include "RenderHelpers.h"
#include "SceneObject.h"

#include "OSMesaApi.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace renderhelpers;

bool CSceneRenderer::RenderFrame(COffscreenGL& gl, const CQuivraDoc& doc, CViewState& state,
                                 int clientWidth, int clientHeight) {
    state.NormaliseAngles();
    if (clientWidth < 1 || clientHeight < 1 || gl.BufferWidth() < 1 || gl.BufferHeight() < 1)
        return false;
    if (!gl.MakeCurrent())
        return false;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);

    // Reduced only in motion, never into a vector copy, and only once a full frame has shown
    // that this scene is too slow for it.
    const std::size_t lines = LineCount(doc);
    m_bReduced = m_bMoving && !m_pVectorOverlay && lines >= kReduceMinLines &&
                 m_dLastFullMs > m_dFrameBudgetMs;
    m_nStride = m_bReduced ? static_cast<int>((lines + kReducedLines - 1) / kReducedLines) : 1;
    QElapsedTimer timer;
    timer.start();

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    ApplyCameraTransform(state, false); // the pan comes inside, after the rotation centre
    DrawScene(doc, state, 0, 0, clientWidth, clientHeight, state.m_dZoom * 0.001);
    glPopMatrix();

    if (!m_bReduced)
        m_dLastFullMs = static_cast<double>(timer.nsecsElapsed()) / 1.0e6;
    m_bLastFrameReduced = m_bReduced;
    // DrawScene called on its own draws the full frame.
    m_bReduced = false;
    m_nStride = 1;
    return true;
}

std::size_t CSceneRenderer::LineCount(const CQuivraDoc& doc) {
    std::size_t n = doc.m_freeLines.size();
    for (const SceneObject* o : doc.m_objects)
        n += o->m_lines.size();
    return n;
}

void CSceneRenderer::ApplyCameraTransform(const CViewState& state, bool withPan) {
    glRotatef(static_cast<float>(state.m_dRotX), 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<float>(state.m_dRotY), 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<float>(state.m_dRotZ), 0.0f, 0.0f, 1.0f);
    glScaled(0.001, 0.001, 0.001);
    glScaled(state.m_dZoom, state.m_dZoom, state.m_dZoom);
    if (withPan)
        glTranslatef(static_cast<float>(state.m_dPanX), static_cast<float>(state.m_dPanY),
                     static_cast<float>(state.m_dPanZ));
}

void CSceneRenderer::DrawScene(const CQuivraDoc& doc, CViewState& state, int left, int top,
                               int right, int bottom, double scale) {
    const int w = std::abs(right - left);
    const int h = std::abs(bottom - top);
    if (state.m_nLook == CViewState::LookClear)
        DrawClearScene(doc, state, w, h, scale);
    else
        DrawClassicScene(doc, state, w, h, scale);
}

void CSceneRenderer::DrawClassicScene(const CQuivraDoc& doc, CViewState& state, int w, int h,
                                      double scale) {
    // Smoothed lines and points write coverage into alpha without blending; the frame is
    // opaque, so alpha is cleared once and then left alone.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glPushMatrix();

    // The axes inset. Points are smooth in every frame, the inset's end points included.
    glEnable(GL_POINT_SMOOTH);
    if (state.m_bShowBase)
        DrawAxesInset(state, w, h, scale);

    // The rotation centre, before the pan.
    glEnable(GL_POINT_SMOOTH);
    SetPointSize(3.0f);
    glColor3f(0.4f, 0.5f, 0.6f);
    glBegin(GL_POINTS);
    glVertex3d(0.0, 0.0, 0.0);
    glEnd();

    // The model from here on: panned, thin unsmoothed lines.
    glTranslatef(static_cast<float>(state.m_dPanX), static_cast<float>(state.m_dPanY),
                 static_cast<float>(state.m_dPanZ));
    SetLineWidth(LineWidth(state.m_nLineWidth));
    glDisable(GL_LINE_SMOOTH);

    // Lines and arrows. The deflected shape moves every frame; the model at rest and the arrows
    // drawn after it may come from the rest layer while nothing else changes. Where the two
    // shapes nearly coincide the deflected one must win: the rest picture is pushed back by a
    // hair, or it would break the moving shape into dashes of both colours.
    const bool deflected = state.m_bShowLines && state.m_bAnimating &&
                           Deflection::FramesPerPeriod(doc, state.m_nCurrentSeries) > 0;
    if (state.m_bShowLines)
        DrawDeflectedLines(doc, state);
    auto drawRest = [&] {
        const DepthBehind behind(deflected);
        if (state.m_bShowLines)
            DrawRestLines(doc, state);
        if (state.m_bShowDirections)
            DrawArrows(doc, state);
    };
    const bool layered = state.m_bAnimating && UseRestLayer(doc, state, w, h, drawRest);
    m_bLastFrameLayered = layered;
    if (!layered)
        drawRest();

    // Labels under the panned matrix (without the inset's scale factors). Over a layered frame they
    // are written last, which is their place anyway: nothing follows them while animating.
    glPopMatrix();
    glPushMatrix();
    glTranslatef(static_cast<float>(state.m_dPanX), static_cast<float>(state.m_dPanY),
                 static_cast<float>(state.m_dPanZ));
    m_pendingLabels.clear();
    m_bDeferLabels = layered;
    if (!m_bReduced && (state.m_bShowPointNumbers || state.m_bShowDirectionNumbers)) {
        ReadMatrices();
        DrawLabels(doc, state, w, h);
    }
    m_bDeferLabels = false;

    // Markers, but none while the shape moves, nor in a reduced frame.
    if (!state.m_bAnimating && !m_bReduced)
        DrawMarkers(doc, kClassicMarkers);

    // Done: the caller copies the frame once it is complete.
    glPopMatrix();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    const bool depthRead = layered && m_restLayer.ReadCurrentDepth();
    glFinish();
    if (layered && !ApplyRestLayer(depthRead)) {
        // Cannot happen once the layer was built for this frame's size; draw it the long way.
        DrawClassicScene(doc, state, w, h, scale);
        return;
    }
    if (layered)
        WritePendingLabels(w, h);
}

bool CSceneRenderer::ApplyRestLayer(bool depthRead) {
    if (depthRead && m_restLayer.ApplyToCurrentFrame())
        return true;
    m_restLayer.Invalidate();
    m_lastLayerKey = 0;
    return false;
}

void CSceneRenderer::DrawAxesInset(const CViewState& state, int w, int h, double scale) {
    // Without the zoom and the pan: the inset only turns with the camera.
    glScaled(1.0 / scale, 1.0 / scale, 1.0 / scale);
    glViewport(static_cast<int>(0.75 * w), static_cast<int>(0.75 * h), static_cast<int>(0.25 * w),
               static_cast<int>(0.25 * h));

    SetLineWidth(LineWidth(state.m_nLineWidth));
    glEnable(GL_LINE_SMOOTH);
    glColor3f(0.6f, 0.6f, 0.0f);
    glBegin(GL_LINES);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 0, 1);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 1, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(1, 0, 0);
    glEnd();
    glDisable(GL_LINE_SMOOTH);

    // The three coordinate-plane squares, without their sides on the axes.
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_LINES);
    glVertex3d(0, 0, 0.4);
    glVertex3d(0, 0.4, 0.4);
    glVertex3d(0, 0.4, 0.4);
    glVertex3d(0, 0.4, 0);
    glVertex3d(0, 0.4, 0);
    glVertex3d(0.4, 0.4, 0);
    glVertex3d(0.4, 0.4, 0);
    glVertex3d(0.4, 0, 0);
    glVertex3d(0, 0, 0.4);
    glVertex3d(0.4, 0, 0.4);
    glVertex3d(0.4, 0, 0.4);
    glVertex3d(0.4, 0, 0);
    glEnd();

    SetPointSize(2.0f);
    glColor3f(0.2f, 0.0f, 0.0f);
    glBegin(GL_POINTS);
    glVertex3d(0, 0, 1);
    glVertex3d(0, 1, 0);
    glVertex3d(1, 0, 0);
    glEnd();

    ReadMatrices();
    Label(QStringLiteral("x"), 0.8, 0.0, 0.0, w, h);
    Label(QStringLiteral("y"), 0.0, 0.8, 0.0, w, h);
    Label(QStringLiteral("z"), 0.0, 0.0, 0.8, w, h);

    glScaled(scale, scale, scale);
    glViewport(0, 0, w, h);
}

void CSceneRenderer::DrawDeflectedLines(const CQuivraDoc& doc, CViewState& state) {
    const int n = Deflection::FramesPerPeriod(doc, state.m_nCurrentSeries);
    // Without a series to animate the shape is shown at rest only, and the phase stays.
    if (!state.m_bAnimating || n == 0)
        return;
    state.m_dAnimPhase = Deflection::FramePhase(state.m_nFrame, n);
    const int series = state.m_nCurrentSeries;
    const double phase = state.m_dAnimPhase;
    auto displaced = [&](const CornerPoint* p) {
        if (p->m_directions.empty())
            Vertex(p);
        else
            Vertex(Deflection::DisplacedPosition(*p, doc, series, phase));
    };
    glColor3f(0.0f, 0.0f, 0.0f);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    auto line = [&](const CornerPoint* a, const CornerPoint* b) {
        displaced(a);
        displaced(b);
        batch.Next();
    };
    std::size_t lone = 0;
    reducedlines::ForEach(doc.m_freeLines, m_nStride, lone, line);
    for (const SceneObject* o : doc.m_objects)
        reducedlines::ForEach(o->m_lines, m_nStride, lone, line);
    batch.End();
}

void CSceneRenderer::DrawRestLines(const CQuivraDoc& doc, const CViewState& state) {
    const float r = state.m_bAnimating ? 0.8f : 0.0f;
    const float g = state.m_bAnimating ? 0.6f : 0.0f;
    const float b = state.m_bAnimating ? 0.9f : 0.0f;
    SetLineWidth(LineWidth(state.m_nLineWidth));
    glColor3f(r, g, b);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    auto line = [&batch](const CornerPoint* a, const CornerPoint* b) {
        Vertex(a);
        Vertex(b);
        batch.Next();
    };
    // Behind a moving shape the model at rest is only a reference: half as many lines again.
    const int stride = m_nStride * (m_bReduced && state.m_bAnimating ? 2 : 1);
    std::size_t lone = 0;
    reducedlines::ForEach(doc.m_freeLines, stride, lone, line);
    for (const SceneObject* o : doc.m_objects) {
        if (state.m_bShowCenterLines && o->m_bHasCentreLine && o->m_pCentreLine) {
            glColor3f(0.0f, 0.0f, 1.0f);
            Vertex(o->m_pCentreLine->m_pPointA);
            Vertex(o->m_pCentreLine->m_pPointB);
            glColor3f(r, g, b);
            batch.Next();
        }
        reducedlines::ForEach(o->m_lines, stride, lone, line);
    }
    batch.End();
}

quint64 CSceneRenderer::RestLayerKey(const CQuivraDoc& doc, const CViewState& state, int w,
                                     int h) const {
    Hasher k;
    k.Add(static_cast<quint64>(w));
    k.Add(static_cast<quint64>(h));
    for (double v : m_modelView)
        k.Add(v);
    for (double v : m_projection)
        k.Add(v);
    for (int v : m_viewport)
        k.Add(static_cast<quint64>(static_cast<quint32>(v)));
    k.Add(static_cast<quint64>(state.m_nLineWidth));
    k.Add(static_cast<quint64>((state.m_bShowLines ? 1 : 0) | (state.m_bShowCenterLines ? 2 : 0) |
                               (state.m_bShowDirections ? 4 : 0) | (state.m_bAnimating ? 8 : 0) |
                               (state.m_bShowOrbits ? 16 : 0)));
    k.Add(static_cast<quint64>(state.m_nLook));
    // A reduced layer draws fewer lines, and in the clear look unsmoothed ones.
    k.Add(static_cast<quint64>(m_nStride) * 2 + (m_bReduced ? 1 : 0));
    k.Add(static_cast<quint64>(state.m_nCurrentSeries));
    k.Add(state.m_dZoom);
    // The clear look's orbits follow the measured values: a changed value draws them anew.
    const auto series = static_cast<std::size_t>(state.m_nCurrentSeries);
    if (state.m_nLook == CViewState::LookClear && state.m_bShowOrbits &&
        series < doc.m_seriesAmplification.size()) {
        k.Add(doc.m_seriesAmplification[series]);
        doc.ForEachPoint([&k, series](const CornerPoint* p) {
            for (const MeasDirection* d : p->m_directions)
                if (series < d->m_measurements.size()) {
                    k.Add(d->m_measurements[series]->m_dAmplitude);
                    k.Add(d->m_measurements[series]->m_dPhase);
                }
        });
    }
    if (state.m_bShowLines) {
        for (const Line* l : doc.m_freeLines) {
            k.Add(l->m_pPointA);
            k.Add(l->m_pPointB);
        }
        for (const SceneObject* o : doc.m_objects) {
            k.Add(static_cast<quint64>(o->m_lines.size()));
            if (state.m_bShowCenterLines && o->m_bHasCentreLine && o->m_pCentreLine) {
                k.Add(o->m_pCentreLine->m_pPointA);
                k.Add(o->m_pCentreLine->m_pPointB);
            }
            for (const Line* l : o->m_lines) {
                k.Add(l->m_pPointA);
                k.Add(l->m_pPointB);
            }
        }
    }
    if (state.m_bShowDirections)
        ForEachPointObjectsFirst(doc, [&k](const CornerPoint* p) {
            for (const MeasDirection* d : p->m_directions) {
                k.Add(p);
                k.Add(d->m_dx);
                k.Add(d->m_dy);
                k.Add(d->m_dz);
            }
        });
    // Zero stands for "no key".
    return k.h ? k.h : 1;
}

bool CSceneRenderer::UseRestLayer(const CQuivraDoc& doc, const CViewState& state, int w, int h,
                                  const std::function<void()>& draw, quint32 behindFrom) {
    if (!m_bUseRestLayer || m_pVectorOverlay || (!state.m_bShowLines && !state.m_bShowDirections)) {
        m_lastLayerKey = 0;
        return false;
    }
    ReadMatrices();
    const quint64 key = RestLayerKey(doc, state, w, h);
    // Build only for a picture that stayed put for two frames: while the camera turns, every
    // frame would need a new layer and drawing directly is cheaper.
    const bool stable = key == m_lastLayerKey;
    m_lastLayerKey = key;
    if (m_restLayer.IsFor(key))
        return true;
    if (!stable)
        return false;
    return m_restLayer.Build(key, w, h, m_modelView, m_projection, m_viewport, draw, behindFrom);
}

void CSceneRenderer::DrawArrows(const CQuivraDoc& doc, const CViewState& state) {
    const double len = ArrowLength(state.m_dZoom);
    SetLineWidth(LineWidth(2 * state.m_nLineWidth));
    glColor3f(1.0f, 0.0f, 0.0f);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    std::size_t index = 0;
    const int stride = m_nStride;
    ForEachPointObjectsFirst(doc, [len, &batch, &index, stride](const CornerPoint* p) {
        if (!reducedlines::KeepPoint(index++, stride))
            return;
        for (const MeasDirection* d : p->m_directions) {
            glVertex3d(p->m_x, p->m_y, p->m_z);
            glVertex3d(p->m_x + len * d->m_dx, p->m_y + len * d->m_dy, p->m_z + len * d->m_dz);
            batch.Next();
        }
    });
    batch.End();
}

void CSceneRenderer::DrawLabels(const CQuivraDoc& doc, const CViewState& state, int w, int h) {
    if (state.m_bShowPointNumbers)
        ForEachPointObjectsFirst(doc, [&](const CornerPoint* p) {
            Label(QString::number(p->m_nNumber), p->m_x, p->m_y, p->m_z, w, h);
        });
    if (state.m_bShowDirectionNumbers) {
        // At the arrow tips, whether or not the arrows are shown.
        const double len = ArrowLength(state.m_dZoom);
        ForEachPointObjectsFirst(doc, [&](const CornerPoint* p) {
            for (const MeasDirection* d : p->m_directions)
                Label(QString::number(d->m_nNumber), p->m_x + len * d->m_dx, p->m_y + len * d->m_dy,
                      p->m_z + len * d->m_dz, w, h);
        });
    }
}

const CSceneRenderer::MarkerColours CSceneRenderer::kClassicMarkers = {
    3.0f, {1.0f, 0.0f, 0.0f}, {0.7f, 0.7f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}};

void CSceneRenderer::DrawMarkers(const CQuivraDoc& doc, const MarkerColours& c) {
    SetPointSize(7.0f);
    glColor3f(0.6f, 0.0f, 0.6f);
    glBegin(GL_POINTS);
    if (doc.m_pOrigin)
        Vertex(doc.m_pOrigin);
    glEnd();

    SetPointSize(c.pointSize);
    glColor3fv(c.point);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_POINTS);
    doc.ForEachPoint([&batch](const CornerPoint* p) {
        Vertex(p);
        batch.Next();
    });
    batch.End();

    // Highlight and selection: rings around their points.
    SetPointSize(10.0f);
    if (doc.m_pHighlightPoint) {
        glColor3fv(c.highlight);
        glBegin(GL_POINTS);
        Vertex(doc.m_pHighlightPoint);
        glEnd();
    }
    glColor3fv(c.selectedPoint);
    glBegin(GL_POINTS);
    for (const CornerPoint* p : doc.m_selPoints)
        Vertex(p);
    glEnd();
    glColor3fv(c.selectedObject);
    glBegin(GL_POINTS);
    for (const SceneObject* o : doc.m_selObjects)
        for (const CornerPoint* p : o->m_points)
            Vertex(p);
    glEnd();
}

void CSceneRenderer::ReadMatrices() {
    glGetDoublev(GL_MODELVIEW_MATRIX, m_modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, m_projection);
    glGetIntegerv(GL_VIEWPORT, m_viewport);
}

void CSceneRenderer::Label(const QString& text, double x, double y, double z, int w, int h) {
    GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
    if (!gluProject(x, y, z, m_modelView, m_projection, m_viewport, &wx, &wy, &wz) && m_fnReport)
        m_fnReport(QStringLiteral("Could not project point."));
    const double top = h - wy;
    // A point far outside the frame (or behind the eye) has nothing to show; its coordinates
    // would not even fit the integer conversion.
    if (!(std::fabs(wx) < 1.0e6) || !(std::fabs(top) < 1.0e6))
        return;
    // Truncation toward zero, y downward from the top of the client area.
    if (m_pVectorOverlay)
        m_labels.Paint(*m_pVectorOverlay, text, static_cast<int>(wx), static_cast<int>(top));
    else if (m_bDeferLabels)
        m_pendingLabels.push_back({text, static_cast<int>(wx), static_cast<int>(top)});
    else
        m_labels.Draw(text, static_cast<int>(wx), static_cast<int>(top), w, h);
}

void CSceneRenderer::WritePendingLabels(int w, int h) {
    // Straight into the finished frame: the same pixels glDrawPixels would write (opaque
    // images, no depth test), in the same order.
    OSMesaContext ctx = OSMesaGetCurrentContext();
    GLint bw = 0, bh = 0, format = 0;
    void* buffer = nullptr;
    if (!ctx || !OSMesaGetColorBuffer(ctx, &bw, &bh, &format, &buffer) || !buffer || bw != w ||
        bh != h)
        return;
    auto* frame = static_cast<quint32*>(buffer);
    for (const PendingLabel& l : m_pendingLabels) {
        const QImage& img = m_labels.LabelImage(l.text);
        for (int y = 0; y < img.height(); ++y) {
            const int fy = l.top + y;
            if (fy < 0 || fy >= h)
                continue;
            const auto* src = reinterpret_cast<const quint32*>(img.constScanLine(y));
            quint32* dst = frame + static_cast<std::size_t>(fy) * static_cast<std::size_t>(w);
            for (int x = 0; x < img.width(); ++x) {
                const int fx = l.left + x;
                if (fx >= 0 && fx < w)
                    dst[fx] = (dst[fx] & 0xff000000u) | (src[x] & 0x00ffffffu);
            }
        }
    }
    m_pendingLabels.clear();
}
