#include "RecentFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString Key(RecentFolders::Kind kind) {
    static const char* const kKeys[] = {"Scenes", "InstrumentFiles", "UniversalFiles", "Images"};
    return QStringLiteral("Recent Folders/") + QLatin1String(kKeys[kind]);
}

} // namespace

QString RecentFolders::Folder(Kind kind) {
    const QString folder = QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"))
                               .value(Key(kind))
                               .toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void RecentFolders::Remember(Kind kind, const QString& path) {
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    // An unchanged folder is not written again (each write syncs the settings file).
    if (settings.value(Key(kind)).toString() != QDir::cleanPath(folder))
        settings.setValue(Key(kind), QDir::cleanPath(folder));
}
