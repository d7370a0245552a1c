#pragma once

#include <QString>

class CViewState;

// The camera each scene was last looked at with, kept in the settings (section "cameras",
// one group per scene keyed by a hash of its canonical path) so that the scene file's format
// stays as it is. The oldest entries go when there are more than kMaxScenes.
class CCameraMemory {
public:
    static constexpr int kMaxScenes = 100;

    // Stores the camera of `state` for the scene file `path` (nothing for an empty path or a
    // file that does not exist).
    static void Save(const QString& path, const CViewState& state);
    // Puts the stored camera of `path` into `state`; false (state unchanged) when none is kept.
    static bool Load(const QString& path, CViewState& state);
};
