#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class CQuivraDoc;

// Writes a scene as a Universal File (UFF/UNV): header 151, units 164, nodes 2411, trace lines
// 82 and one dataset 55 per measurement series (complex, frequency response, 3-DOF global
// translation at the series' frequency in Hz).
class UffWriter {
public:
    // The file's bytes. `notes` (if given) receives remarks for the user, e.g. relabelled
    // points when point numbers repeat.
    static QByteArray Export(const CQuivraDoc& doc, const QString& modelName, QStringList* notes);
    // Writes the file safely (temporary file renamed over the old one).
    static bool Save(const CQuivraDoc& doc, const QString& path, QStringList* notes,
                     QString* error);
};
