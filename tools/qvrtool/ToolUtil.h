#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CQuivraDoc;

// Shared helpers of the qvrtool subcommands.
namespace tool {

// Prints `message` to stderr with a newline; returns 1 (the failure exit status).
int Fail(const QString& message);
// Prints the usage line of a subcommand to stderr; returns 2.
int Usage(const char* usage);
// Loads a scene; on failure prints the reason (naming the file) and returns null.
std::unique_ptr<CQuivraDoc> LoadScene(const QString& path);
// Saves a scene; on failure prints the reason and returns false.
bool SaveScene(CQuivraDoc& doc, const QString& path);
// A double as JSON that reads back exactly (17 significant digits; no NaN/inf in JSON).
QString JsonNumber(double v);
// A float as JSON that reads back exactly as single precision (9 significant digits).
QString JsonFloat(float v);
// A string as a JSON string literal.
QString JsonString(const QString& s);
// Parses "X,Y,Z" (or any count) of doubles in the C locale; false on anything else.
bool ParseDoubles(const QString& text, int count, std::vector<double>& out);
// A whole base-10 integer.
bool ParseInt(const QString& text, int& out);
// "WxH" with minWidth <= W <= 16384 and 1 <= H <= 16384.
bool ParseSize(const QString& text, int minWidth, int& width, int& height);
// `count` comma-separated finite doubles.
bool ParseFiniteDoubles(const QString& text, int count, std::vector<double>& out);
// "classic" or "clear" (the drawing style) into a CViewState look value.
bool ParseLook(const QString& text, int& look);
// A message meant for a message box as a terminal shows it: a carriage return inside it would
// make the rest overwrite the start, so it becomes a line break.
QString TerminalText(const QString& message);
// Writes text to stdout.
void Print(const QString& text);

} // namespace tool
