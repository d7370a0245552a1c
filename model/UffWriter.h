#pragma once

#include "UffUnits.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class CQuivraDoc;

// Writes a scene as a Universal File (UFF/UNV): header 151, units 164, nodes 2411, trace lines
// 82 and one dataset 55 per measurement series (complex, frequency response, 3-DOF global
// translation at the series' frequency in Hz). The scene has no unit of its own: the caller
// says which length unit and quantity it holds, and 164 and 55 state them.
class UffWriter {
public:
    struct Options {
        UffUnits::Length length = UffUnits::Millimetre;
        UffUnits::Quantity quantity = UffUnits::Unknown;
    };

    // The file's bytes. Refuses (false, `error` naming the point or series) coordinates and
    // values that are not finite or too large for their columns. `notes` (if given) receives
    // remarks for the user, e.g. relabelled points when point numbers repeat.
    static bool Export(const CQuivraDoc& doc, const QString& modelName, const Options& options,
                       QByteArray* out, QStringList* notes, QString* error);
    // Writes the file safely: a temporary file renamed over the target only when every byte
    // was written, so a failed export leaves no partial file under the target name.
    static bool Save(const CQuivraDoc& doc, const QString& path, const Options& options,
                     QStringList* notes, QString* error);
};
