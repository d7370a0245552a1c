#include "CDiscSprites.h"

#include "OSMesaApi.h"

#include <cstring>
#include <vector>

namespace {

// Our own texture name, the same in every context: nothing else here makes textures.
constexpr GLuint kTexture = 0x51564d;
// Texels across the disc: its edge is placed to a fiftieth of a pixel on a ten-pixel point.
constexpr int kSize = 256;

bool LibraryHasPointSprites() {
    const auto* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    // Core since 2.0.
    return (version && version[0] >= '2' && version[0] <= '9') ||
           (ext && std::strstr(ext, "GL_ARB_point_sprite"));
}

void MakeTexture() {
    std::vector<unsigned char> alpha(static_cast<std::size_t>(kSize) * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double u = (x + 0.5) / kSize - 0.5, v = (y + 0.5) / kSize - 0.5;
            alpha[static_cast<std::size_t>(y) * kSize + x] = u * u + v * v <= 0.25 ? 255 : 0;
        }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kSize, kSize, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 alpha.data());
    glPopClientAttrib();
}

} // namespace

bool CDiscSprites::Begin() {
    // The one library the program draws with: asked once.
    static const bool sprites = LibraryHasPointSprites();
    if (!sprites)
        return false;
    const bool made = glIsTexture(kTexture);
    glBindTexture(GL_TEXTURE_2D, kTexture);
    if (!made)
        MakeTexture();
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_POINT_BIT);
    glDisable(GL_POINT_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_POINT_SPRITE);
    glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_TRUE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    return true;
}

void CDiscSprites::End() {
    glPopAttrib();
}
