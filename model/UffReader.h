#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class CQuivraDoc;

// Reads a Universal File (UFF/UNV) into a scene: nodes (15, 2411) become free corner points
// numbered by their labels, trace lines (82) free lines, and data at nodes (55, real or
// complex, 3-DOF) measurement series with +X/+Y/+Z directions. Fields are read by column, as
// the format defines them, so touching fields, D exponents, CRLF and short lines are fine.
class UffReader {
public:
    struct Summary {
        int points = 0;
        int lines = 0;
        int series = 0;
        int directions = 0;
        QStringList skipped;  // "dataset 58 (line 120)" for datasets the program does not use
        QStringList warnings; // e.g. a trace line through an unknown node
    };

    // Parses `data` completely, then adds it to `doc`. On failure nothing is added and
    // `error` names the dataset and line. `beforeChange`, when given, runs once the whole file
    // has been read and just before the document changes (the undo snapshot goes there).
    static bool Import(const QByteArray& data, CQuivraDoc& doc, Summary* summary, QString* error,
                       const std::function<void()>& beforeChange = {});
    static bool ImportFile(const QString& path, CQuivraDoc& doc, Summary* summary, QString* error,
                           const std::function<void()>& beforeChange = {});
};
