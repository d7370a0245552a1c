#pragma once

#include <cstdint>
#include <vector>

// Anti-aliased lines drawn by the processor straight into a finished frame. The software
// rasteriser smooths a line by turning it into a textured quad on its general path, one
// primitive at a time; for the tens of thousands of lines of a moving shape that costs more than
// the whole rest of the frame. Here a line costs the pixels it covers.
//
// Lines are collected first (Begin, Add) and drawn at once (Draw), after the frame's own GL
// drawing has finished. Each pixel's coverage comes from its distance to the line (a box filter
// of the line's width), and is blended over the frame as GL_SRC_ALPHA / GL_ONE_MINUS_SRC_ALPHA
// would blend it; a line is hidden where the depth already held is not farther, as with
// GL_LESS, and writes its depth where it covers at least half a pixel.
class CLineRaster {
public:
    // A line's end in clip coordinates (the projection times the model-view times the point),
    // with its colour.
    struct End {
        double clip[4];
        float rgb[3];
    };

    // Starts a frame of w x h pixels for the viewport (x, y from the bottom, width, height), GL's
    // depth range 0..1, every pixel's depth at the far plane. False for an empty frame, or one
    // too large for the memory its depth needs.
    bool Begin(int w, int h, const int viewport[4]);
    // The frame's depth, w x h, rows from the bottom, as glReadPixels gives it for
    // GL_UNSIGNED_INT: lower it where the frame already holds something nearer.
    std::uint32_t* Depth();
    // The same, for a caller that writes every value (glReadPixels of the whole frame).
    std::uint32_t* DepthToOverwrite() {
        m_bDepthSet = true;
        return m_depth.data();
    }
    // A line of `width` pixels. Parts outside the near and far planes are cut off, as GL clips.
    // A `depth` of 0..1 puts the whole line at that depth (as glDepthRange(depth, depth)).
    void Add(const End& a, const End& b, float width, double depth = -1.0);
    std::size_t Count() const { return m_lines.size(); }
    // Draws the lines added, in order, into `pixels` (w x h, 32-bit 0xAARRGGBB, rows from the
    // top, as the off-screen colour buffer holds them); alpha is left as it is.
    // Large sets are drawn in horizontal bands, by default on as many threads as the machine
    // has cores (at most four); the pixels are the same for any number of `threads`.
    void Draw(std::uint32_t* pixels, unsigned threads = 0);

private:
    struct Segment {
        double x0, y0, z0, x1, y1, z1;
        float c0[3], c1[3];
        float width;
    };
    // The rows from `rowLo` up to, not including, `rowHi` (from the bottom) of one line.
    void DrawSegment(const Segment& s, std::uint32_t* pixels, int rowLo, int rowHi);
    void DrawBand(std::uint32_t* pixels, int rowLo, int rowHi);

    int m_w = 0, m_h = 0;
    double m_vp[4] = {};
    std::vector<Segment> m_lines;
    std::vector<std::uint32_t> m_depth;
    // Until somebody asks for the depth, only the rows the lines reach are set to the far
    // plane, at Draw: a whole frame's worth costs as much as a thousand lines.
    bool m_bDepthSet = false;
    bool m_bFillDepth = false; // Draw's bands set their rows to the far plane first
    double m_yLo = 0.0, m_yHi = 0.0;
};
