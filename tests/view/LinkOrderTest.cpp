// Guards how GL is reached: every gl* call goes through pointers into libOSMesa, opened at run
// time. Were one of them bound to glvnd's libOpenGL (which QtGui loads), it would silently do
// nothing and every rendering test would see a white frame for the wrong reason.
#include "COSMesaLibrary.h"
#include "COffscreenGL.h"
#include "OSMesaApi.h"

#include <dlfcn.h>

#include <cstring>

#include <gtest/gtest.h>

TEST(LinkOrder, GlCallsGoIntoOsmesa) {
    COffscreenGL gl;
    ASSERT_TRUE(gl.Resize(8, 8).isEmpty());
    ASSERT_TRUE(COSMesaLibrary::IsReady());
    for (void* entry : {reinterpret_cast<void*>(osmesaapi::p_glBegin),
                        reinterpret_cast<void*>(osmesaapi::p_glMultMatrixd),
                        reinterpret_cast<void*>(osmesaapi::p_OSMesaMakeCurrent)}) {
        Dl_info info{};
        ASSERT_NE(dladdr(entry, &info), 0);
        EXPECT_NE(std::strstr(info.dli_fname, "libOSMesa"), nullptr) << info.dli_fname;
    }
    const GLubyte* renderer = glGetString(GL_RENDERER);
    ASSERT_NE(renderer, nullptr);
    EXPECT_GT(std::strlen(reinterpret_cast<const char*>(renderer)), 0u);
}
