#pragma once

#include <QString>

// The folder each kind of file was last opened from or saved to, kept in the settings
// (section "Recent Folders") so that file dialogs start there in the next run as well.
class RecentFolders {
public:
    enum Kind { Scenes, InstrumentFiles, UniversalFiles, Images };

    // The remembered folder while it still exists, else the home folder.
    static QString Folder(Kind kind);
    // Remembers the folder of `path`, or `path` itself when it is a folder. Empty: nothing.
    static void Remember(Kind kind, const QString& path);
};
