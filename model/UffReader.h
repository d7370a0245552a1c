#pragma once

#include "UffUnits.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CQuivraDoc;
class QIODevice;
struct UffContent;

// Reads a Universal File (UFF/UNV) into a scene: nodes (15, 2411, placed through the
// coordinate systems of 18 and 2420) become free corner points numbered by their labels, trace
// lines (82) free lines, and data at nodes (55, 2414; real or complex 3-D translations)
// measurement series with +X/+Y/+Z directions. Values for nodes the file does not define go to
// the scene's corner points of the same number.
//
// Reading and adding are two steps, so that the caller can look at the file's length unit and
// ask the user before anything changes.
class UffReader {
public:
    struct Summary {
        int points = 0;
        int lines = 0;
        int series = 0;
        int directions = 0; // new directions (existing ones that took values not counted)
        QString lengthUnit; // the file's, from dataset 164; empty when it states none
        double scale = 1.0; // applied to every length
        long long rotationalValues = 0;
        QStringList skipped;  // datasets and shapes not used, and why
        QStringList warnings; // values and lines that found no corner point, doubtful content
        QStringList notes;    // how things were taken: units, shapes without a frequency
    };
    struct Options {
        // Convert lengths to `length` when the file states its unit (dataset 164).
        bool convert = false;
        UffUnits::Length length = UffUnits::Millimetre;
    };

    UffReader();
    ~UffReader();

    // Reads the whole file; on failure `error` names the dataset and line.
    bool Read(QIODevice& in, QString* error);
    // The same for a file; anything but a regular file is refused before it is opened.
    bool ReadFile(const QString& path, QString* error);
    // Dataset 164's length factor (file units per metre); 0 when the file has none.
    double LengthPerMetre() const;

    // Adds what was read to `doc`. On failure (a refusal, or memory running out) the scene is
    // unchanged and `error` says why. `beforeChange`, when given, runs once everything is
    // prepared, just before the document changes (the undo snapshot goes there).
    bool AddTo(CQuivraDoc& doc, const Options& options, Summary* summary, QString* error,
               const std::function<void()>& beforeChange = {});

    // Read and AddTo in one, lengths as they are.
    static bool Import(const QByteArray& data, CQuivraDoc& doc, Summary* summary, QString* error,
                       const std::function<void()>& beforeChange = {});
    static bool ImportFile(const QString& path, CQuivraDoc& doc, Summary* summary, QString* error,
                           const std::function<void()>& beforeChange = {});

private:
    std::unique_ptr<UffContent> m_content;
    QString m_name; // for messages: the file's path, or empty
};
