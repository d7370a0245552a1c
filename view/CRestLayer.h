#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

typedef struct osmesa_context* OSMesaContext;

// The part of an animated frame that does not move: the model at rest and the direction arrows,
// drawn after the deflected shape. While the camera and the scene stay put it is drawn once,
// alone, into a context of its own; every frame then puts its pixels over the frame where they
// are nearer than what the frame holds. With the strict depth test that is exactly what
// drawing it again would give: a later fragment replaces an earlier one only when nearer.
class CRestLayer {
public:
    CRestLayer() = default;
    ~CRestLayer();
    CRestLayer(const CRestLayer&) = delete;
    CRestLayer& operator=(const CRestLayer&) = delete;

    bool IsFor(quint64 key) const { return m_bValid && m_key == key; }
    void Invalidate() { m_bValid = false; }

    // Draws `draw` into the layer (w x h) with the given matrices and viewport, keeps the pixels
    // it touched and makes the caller's context current again. False when the layer cannot be
    // used here (then the caller draws directly).
    bool Build(quint64 key, int w, int h, const double modelView[16], const double projection[16],
               const int viewport[4], const std::function<void()>& draw);

    // Puts the kept pixels over the current context's finished frame (its colour buffer and
    // depth buffer). False when the current frame does not fit the layer.
    bool ApplyToCurrentFrame() const;

    // Whether the depth buffer of the current context is laid out as this class reads it:
    // 24-bit values in 32-bit words, rows bottom-up, no padding.
    static bool DepthLayoutIsKnown(int w, int h);

private:
    bool MakeLayerCurrent(int w, int h);

    OSMesaContext m_ctx = nullptr;
    std::vector<quint32> m_buffer;
    int m_w = 0, m_h = 0;
    bool m_bLayoutOk = false;
    int m_nLayoutCheckedW = -1, m_nLayoutCheckedH = -1;

    quint64 m_key = 0;
    bool m_bValid = false;
    std::vector<quint32> m_pixel;   // index into the colour buffer (rows top-down)
    std::vector<quint32> m_depthAt; // index into the depth buffer (rows bottom-up)
    std::vector<quint32> m_colour;
    std::vector<quint32> m_depth;
};
