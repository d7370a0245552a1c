#include "CBatchSubmitter.h"

#include "OSMesaApi.h"

namespace {

// The fence entry points, by hand: the GL 1.1 headers do not declare them.
typedef struct __GLsync* Sync;
typedef Sync (*FenceSyncFn)(GLenum condition, GLbitfield flags);
typedef void (*DeleteSyncFn)(Sync sync);
constexpr GLenum kSyncGpuCommandsComplete = 0x9117;

struct FenceFunctions {
    FenceSyncFn fence = nullptr;
    DeleteSyncFn remove = nullptr;
    FenceFunctions() {
        fence = reinterpret_cast<FenceSyncFn>(OSMesaGetProcAddress("glFenceSync"));
        remove = reinterpret_cast<DeleteSyncFn>(OSMesaGetProcAddress("glDeleteSync"));
        if (!fence || !remove)
            fence = nullptr;
    }
};

const FenceFunctions& Fences() {
    static const FenceFunctions f;
    return f;
}

} // namespace

bool CBatchSubmitter::CanSubmitEarly() {
    return Fences().fence != nullptr;
}

void CBatchSubmitter::SubmitNow() {
    const FenceFunctions& f = Fences();
    if (!f.fence)
        return;
    if (Sync s = f.fence(kSyncGpuCommandsComplete, 0))
        f.remove(s);
}

void CBatchSubmitter::Begin(unsigned mode) {
    m_mode = mode;
    m_nCount = 0;
    glBegin(mode);
}

void CBatchSubmitter::End() {
    glEnd();
}

void CBatchSubmitter::Submit() {
    m_nCount = 0;
    const FenceFunctions& f = Fences();
    glEnd();
    // The fence is not waited for: creating it is what hands the batch over.
    if (Sync s = f.fence(kSyncGpuCommandsComplete, 0))
        f.remove(s);
    glBegin(m_mode);
}
