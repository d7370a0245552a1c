#pragma once

class CAppDocument;

// File → "Export UFF..." and "Import UFF...": the scene and its shapes to and from a Universal
// File. Dialogs and messages go through CPrompts.
class CUffExchange {
public:
    static void Export(CAppDocument& doc);
    // Adds the file's nodes, trace lines and shapes to the document as one undoable step.
    static void Import(CAppDocument& doc);
};
