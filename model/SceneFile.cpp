#include "SceneFile.h"

#include "AtomicFile.h"
#include "CArchive.h"
#include "CQuivraDoc.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <new>

QByteArray SceneFile::ToBytes(CQuivraDoc& doc) {
    CArchive ar;
    doc.Serialize(ar);
    return ar.Buffer();
}

bool SceneFile::FromBytes(const QByteArray& data, CQuivraDoc& doc, QString* error) {
    try {
        CArchive ar(data);
        doc.Serialize(ar);
        return true;
    } catch (const ArchiveError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    } catch (const std::bad_alloc&) {
        if (error)
            *error = QStringLiteral("not enough memory");
        return false;
    }
}

bool SceneFile::Load(const QString& path, CQuivraDoc& doc, QString* error) {
    QFile f;
    QString whyNot;
    if (!RegularFile::OpenForReading(f, path, &whyNot)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, whyNot);
        return false;
    }
    QByteArray data;
    try {
        data = f.readAll();
    } catch (const std::bad_alloc&) {
        // A file larger than the memory left (the program would otherwise end here).
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": not enough memory").arg(path);
        return false;
    }
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(path, f.errorString());
        return false;
    }
    QString why;
    if (!FromBytes(data, doc, &why)) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a valid scene file: %2").arg(path, why);
        return false;
    }
    return true;
}

bool SceneFile::Save(CQuivraDoc& doc, const QString& path, QString* error) {
    const bool wasModified = doc.IsModified();
    CArchive ar;
    doc.Serialize(ar);
    QString why;
    if (!AtomicFile::Write(path, ar.Data(), static_cast<qint64>(ar.Size()), &why)) {
        doc.SetModifiedFlag(wasModified);
        if (error)
            *error = QStringLiteral("Cannot save \"%1\": %2").arg(path, why);
        return false;
    }
    return true;
}
