#pragma once

#include "UffWriter.h"

#include <QString>

#include <functional>

class QWidget;

// Every question and message the shell puts to the user goes through here, so that tests can
// answer them without a modal dialog. The defaults are the usual message boxes and file
// dialogs; Reset() puts them back.
class CPrompts {
public:
    enum Answer { Yes, No, Cancel };

    // A message box with the application's title and an OK button.
    static std::function<void(QWidget* parent, const QString& text)> Message;
    // "Save changes to ...?" with Yes, No and Cancel.
    static std::function<Answer(QWidget* parent, const QString& text)> AskYesNoCancel;
    // A question with Yes and No (No is the default); true means Yes.
    static std::function<bool(QWidget* parent, const QString& text)> AskYesNo;
    // File dialogs; an empty result means the user cancelled. The open dialog starts in
    // `folder`.
    static std::function<QString(QWidget* parent, const QString& filter, const QString& folder)>
        OpenFileName;
    static std::function<QString(QWidget* parent, const QString& suggested, const QString& filter)>
        SaveFileName;
    // The units of a Universal File export, starting from `options`; false: cancelled.
    static std::function<bool(QWidget* parent, UffWriter::Options& options)> UffExportOptions;

    static void Reset();
};
