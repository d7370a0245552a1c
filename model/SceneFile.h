#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class CQuivraDoc;
class QFile;

// Reading and writing whole scene files. Both report failures as one sentence naming the file.
class SceneFile {
public:
    // Called now and then during a load with the work done so far and the whole work (reading
    // the bytes, then reading the scene from them); returning false cancels the load.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Scene bytes of `doc` (clears its modified flag, as any save does).
    static QByteArray ToBytes(CQuivraDoc& doc);
    // Reads `data` into `doc`, which must be empty. On failure `doc` is left unchanged and
    // `error` (if given) says why.
    static bool FromBytes(const QByteArray& data, CQuivraDoc& doc, QString* error,
                          const Progress& progress = {});

    // A cancelled load returns false with `error` set to an empty string and `doc` unchanged.
    static bool Load(const QString& path, CQuivraDoc& doc, QString* error,
                     const Progress& progress = {});
    // Load without progress, from `f` open at its start, `path` naming it in messages.
    static bool LoadOpen(QFile& f, const QString& path, CQuivraDoc& doc, QString* error);
    // Writes through a temporary file renamed over the old one, so a failed save leaves the
    // previous file intact.
    static bool Save(CQuivraDoc& doc, const QString& path, QString* error);
};
