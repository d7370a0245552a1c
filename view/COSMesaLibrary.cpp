#include "COSMesaLibrary.h"

#define QUIVRA_OSMESA_API_DEFINITIONS
#include "OSMesaApi.h"

#include <dlfcn.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace osmesaapi {

#define QUIVRA_DEFINE_POINTER(name) decltype(&::name) p_##name = nullptr;
QUIVRA_GL_FUNCTIONS(QUIVRA_DEFINE_POINTER)
QUIVRA_OSMESA_FUNCTIONS(QUIVRA_DEFINE_POINTER)
#undef QUIVRA_DEFINE_POINTER

namespace {

// out = m * in, m column-major (GLU's __gluMultMatrixVecd, in its order of operations so that
// label positions and picking match the old results to the last bit).
void MultMatrixVec(const GLdouble m[16], const GLdouble in[4], GLdouble out[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = in[0] * m[0 * 4 + i] + in[1] * m[1 * 4 + i] + in[2] * m[2 * 4 + i] +
                 in[3] * m[3 * 4 + i];
}

} // namespace

GLint Project(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble model[16],
              const GLdouble proj[16], const GLint view[4], GLdouble* winX, GLdouble* winY,
              GLdouble* winZ) {
    GLdouble in[4] = {objX, objY, objZ, 1.0};
    GLdouble out[4];
    MultMatrixVec(model, in, out);
    MultMatrixVec(proj, out, in);
    if (in[3] == 0.0)
        return GL_FALSE;
    in[0] /= in[3];
    in[1] /= in[3];
    in[2] /= in[3];
    // From [-1, 1] to [0, 1], then to the viewport.
    in[0] = in[0] * 0.5 + 0.5;
    in[1] = in[1] * 0.5 + 0.5;
    in[2] = in[2] * 0.5 + 0.5;
    in[0] = in[0] * view[2] + view[0];
    in[1] = in[1] * view[3] + view[1];
    *winX = in[0];
    *winY = in[1];
    *winZ = in[2];
    return GL_TRUE;
}

void Perspective(GLdouble fovY, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovY / 2 * M_PI / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0)
        return;
    const double cotangent = std::cos(radians) / sine;
    GLdouble m[16] = {0};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    p_glMultMatrixd(m);
}

} // namespace osmesaapi

namespace {

std::once_flag s_once;
std::atomic<bool> s_bReady{false};
std::atomic<bool> s_bHeld{false};
std::atomic<bool> s_bDone{false};
std::atomic<bool> s_bStarted{false};
QString s_error; // written once inside the call_once, read after it

bool OpenAndResolve() {
    // Local: the gl* names stay out of the global scope, where glvnd's libOpenGL (brought by
    // QtGui) has its own.
    void* library = dlopen("libOSMesa.so.8", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        s_error = QStringLiteral("libOSMesa could not be opened: %1")
                      .arg(QString::fromLocal8Bit(why ? why : "unknown reason"));
        return false;
    }
    bool complete = true;
#define QUIVRA_RESOLVE(name)                                                                       \
    osmesaapi::p_##name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));              \
    if (!osmesaapi::p_##name) {                                                                    \
        s_error = QStringLiteral("libOSMesa lacks %1").arg(QLatin1String(#name));                  \
        complete = false;                                                                          \
    }
    QUIVRA_GL_FUNCTIONS(QUIVRA_RESOLVE)
    QUIVRA_OSMESA_FUNCTIONS(QUIVRA_RESOLVE)
#undef QUIVRA_RESOLVE
    // The library stays open for the life of the process: contexts and pointers live in it.
    return complete;
}

// Joins the background load before static destruction, so that a program ending early never
// unloads anything under a thread still inside dlopen.
struct BackgroundLoad {
    std::thread m_thread;
    ~BackgroundLoad() {
        if (m_thread.joinable())
            m_thread.join();
    }
};

BackgroundLoad& Background() {
    static BackgroundLoad s_load;
    return s_load;
}

} // namespace

bool COSMesaLibrary::Load() {
    std::call_once(s_once, [] {
        s_bReady = OpenAndResolve();
        s_bDone = true;
    });
    return s_bReady;
}

void COSMesaLibrary::LoadInBackground() {
    static std::once_flag started;
    s_bStarted = true;
    std::call_once(started, [] { Background().m_thread = std::thread([] { Load(); }); });
}

void COSMesaLibrary::DeferToBackground() {
    s_bStarted = true;
}

bool COSMesaLibrary::IsReady() {
    return s_bReady && !s_bHeld;
}

bool COSMesaLibrary::IsLoading() {
    return (s_bStarted && !s_bDone) || s_bHeld;
}

QString COSMesaLibrary::Error() {
    return s_bDone && !s_bReady ? s_error : QString();
}

void COSMesaLibrary::HoldForTest(bool hold) {
    s_bHeld = hold;
}
