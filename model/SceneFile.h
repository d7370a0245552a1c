#pragma once

#include <QByteArray>
#include <QString>

class CQuivraDoc;

// Reading and writing whole scene files. Both report failures as one sentence naming the file.
class SceneFile {
public:
    // Scene bytes of `doc` (clears its modified flag, as any save does).
    static QByteArray ToBytes(CQuivraDoc& doc);
    // Reads `data` into `doc`, which must be empty. On failure `doc` is left unchanged and
    // `error` (if given) says why.
    static bool FromBytes(const QByteArray& data, CQuivraDoc& doc, QString* error);

    static bool Load(const QString& path, CQuivraDoc& doc, QString* error);
    // Writes through a temporary file renamed over the old one, so a failed save leaves the
    // previous file intact.
    static bool Save(CQuivraDoc& doc, const QString& path, QString* error);
};
