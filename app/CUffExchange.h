#pragma once

#include <QString>

class CAppDocument;

// File → "Export UFF..." and "Import UFF...": the scene and its shapes to and from a Universal
// File. Dialogs and messages go through CPrompts; the length unit and quantity chosen for an
// export are kept in the settings (section "uff") and are the unit an import offers to convert to.
class CUffExchange {
public:
    static void Export(CAppDocument& doc);
    // Adds the file's nodes, trace lines and shapes to the document as one undoable step.
    static void Import(CAppDocument& doc);
    // The same without the dialog (a dropped file).
    static void Import(CAppDocument& doc, const QString& path);
};
