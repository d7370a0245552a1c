#pragma once

// Draws GL_POINTS as round, hard-edged discs through point sprites: a point of size s covers
// the pixels whose centres lie within s/2 of it, as the rasteriser draws smooth points, but
// without its slow path for smooth points (a third of a small model's frame at rest). The disc
// is cut out of each sprite by an alpha-tested texture, kept in each context under one fixed
// name, so that a renderer moving between contexts neither leaks nor rebuilds it.
class CDiscSprites {
public:
    // Sets up the current context (texture, sprite, alpha test; smooth points off); false, with
    // nothing changed, where the library lacks point sprites.
    static bool Begin();
    // Undoes Begin.
    static void End();
};
