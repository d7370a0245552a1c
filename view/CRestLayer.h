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
    // `behindFrom` (a depth as glReadPixels gives it for GL_UNSIGNED_INT; 0 for none): the frame
    // draws everything nearer than this. A layer whose pixels all lie there needs no depth from
    // the frame: it shows wherever the frame still has its clear colour.
    bool Build(quint64 key, int w, int h, const double modelView[16], const double projection[16],
               const int viewport[4], const std::function<void()>& draw, quint32 behindFrom = 0);

    // Reads the depth of the current context's frame where the layer has pixels; for a layer
    // lying behind, only inside `depthOnly` (x, y from the bottom, width, height), where the
    // frame draws without depth. Call it once the frame is drawn and before its glFinish: any
    // read makes Mesa copy the frame into the colour buffer again at the next flush, over what
    // ApplyToCurrentFrame writes there. False when the current frame does not fit the layer.
    bool ReadCurrentDepth(const int depthOnly[4] = nullptr);
    // After glFinish: puts the kept pixels over the finished frame where they are nearer than
    // the depth read. False when the current frame does not fit the layer or was not read.
    bool ApplyToCurrentFrame();
    // Lowers `depth` (the frame's size, rows from the bottom) to the layer's depth where the
    // layer holds something nearer than its behind depth: what lines drawn over the merged frame
    // must not cover. A layer lying behind leaves it as it is.
    void LowerDepth(quint32* depth) const;
    // The current context's depth between (x, y) and (x + w, y + h) into `out` (w x h, rows from
    // the bottom), as GL_UNSIGNED_INT gives it, whatever pixel store the caller has set.
    static void ReadDepthInto(int x, int y, int w, int h, quint32* out);

private:
    bool MakeLayerCurrent(int w, int h);
    void IndexReadPart();

    OSMesaContext m_ctx = nullptr;
    std::vector<quint32> m_buffer;
    int m_w = 0, m_h = 0;

    quint64 m_key = 0;
    bool m_bValid = false;
    std::vector<quint32> m_pixel;   // index into the colour buffer (rows top-down)
    std::vector<quint32> m_depthAt; // index into the depth read back from m_box
    std::vector<quint32> m_colour;
    std::vector<quint32> m_depth;
    int m_box[4] = {}; // x, y (from the bottom), width, height around the layer's pixels
    std::vector<quint32> m_frameDepth; // depth read back, reused from frame to frame
    bool m_bDepthRead = false;
    // A layer behind all the frame draws with depth: the part of m_box read back, and for each
    // pixel its index into that part (kOutside where the frame's colour decides).
    bool m_bBehind = false;
    int m_read[4] = {};
    std::vector<quint32> m_readAt;
    bool m_bReadAtValid = false;
};
