// Guards the link order: if glvnd's libOpenGL came first, every GL call would silently do
// nothing and all rendering tests would see a white (or garbage) frame for the wrong reason.
#include "COffscreenGL.h"

#include <GL/gl.h>
#include <dlfcn.h>

#include <cstring>

#include <gtest/gtest.h>

TEST(LinkOrder, OsmesaOwnsTheGlSymbols) {
    void* osmesa = dlopen("libOSMesa.so.8", RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(osmesa, nullptr) << "libOSMesa is not loaded";
    void* global = dlsym(RTLD_DEFAULT, "glMultMatrixd");
    void* own = dlsym(osmesa, "glMultMatrixd");
    dlclose(osmesa);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(global, own) << "gl* symbols resolve to another library than libOSMesa";

    COffscreenGL gl;
    ASSERT_TRUE(gl.Resize(8, 8).isEmpty());
    const GLubyte* renderer = glGetString(GL_RENDERER);
    ASSERT_NE(renderer, nullptr);
    EXPECT_GT(std::strlen(reinterpret_cast<const char*>(renderer)), 0u);
}
