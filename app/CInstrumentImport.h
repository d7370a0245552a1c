#pragma once

#include <QString>

#include <functional>

class CAppDocument;
class QWidget;

// The "R4 import" document command: asks for an instrument data file (*.KTL), reads it into the
// document's imported records and shows them in the Imported Instrument Measurements window.
// The file dialog and the message box go through the two hooks, so that tests can answer them.
class CInstrumentImport {
public:
    static void ImportInstrumentFile(CAppDocument& doc);
    // The same without the dialog (a dropped file).
    static void ImportInstrumentFile(CAppDocument& doc, const QString& path);

    // "Load Quivra File" for existing *.KTL files; an empty result means cancelled.
    static std::function<QString(QWidget* parent, const QString& folder)> AskFileName;
    // A message box with the system's default caption and an OK button.
    static std::function<void(QWidget* parent, const QString& text)> Message;

    static void Reset();
};
