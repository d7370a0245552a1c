#pragma once

#include <cstddef>

// Hands a long run of primitives to the rasteriser in batches. The software rasteriser only
// starts on a frame's primitives when they are flushed, so one big glBegin/glEnd leaves its
// threads idle while this thread sorts the primitives into tiles, and then leaves this thread
// idle while they draw. Ending the run every few thousand primitives with a fence (which
// submits without waiting and without copying the frame out, unlike glFlush) lets both work at
// once. Splitting a run of independent lines or points changes no pixel: each primitive is
// drawn alone, in the same order, with the same state.
//
// Usage: Begin(GL_LINES); per primitive its vertices, then Next(); End().
class CBatchSubmitter {
public:
    // Primitives per batch: large enough that the fences cost nothing, small enough to keep
    // both sides busy on a model of 100,000 lines (render_bench).
    static constexpr std::size_t kBatch = 8192;

    // `early` false: one run, submitted when the frame is finished.
    explicit CBatchSubmitter(bool early) : m_bEarly(early && CanSubmitEarly()) {}

    void Begin(unsigned mode);
    // Counts one finished primitive; between primitives it may end the run and start another.
    void Next() {
        if (m_bEarly && ++m_nCount >= kBatch)
            Submit();
    }
    void End();

    // Whether the library offers fences. Without them runs stay whole: the same pixels, later.
    static bool CanSubmitEarly();
    // Hands everything drawn so far to the rasteriser now (outside a run), so that it draws
    // while this thread goes on with the rest of the frame; nothing without fences.
    static void SubmitNow();

private:
    void Submit();

    bool m_bEarly;
    unsigned m_mode = 0;
    std::size_t m_nCount = 0;
};
