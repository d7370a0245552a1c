#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class CDocTemplate;
class QPrinter;

// `quivra --print FILE...` and `--print-to PRINTER FILE...`: each scene is opened without
// showing the program, drawn as in a window of kWidth x kHeight and printed on one page; the
// program then ends. Failures are reported through CPrompts::Message.
class CCommandLinePrint {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    // Points `printer` at the printer named `name` (empty: the default printer); false with
    // `*error` set when there is no such printer. Tests print into a PDF file instead.
    static std::function<bool(QPrinter& printer, const QString& name, QString* error)>
        ChoosePrinter;
    static void Reset();

    // False when a file could not be opened or printed, or nothing could be printed on.
    static bool PrintFiles(CDocTemplate& docTemplate, const QStringList& files,
                           const QString& printerName);
};
