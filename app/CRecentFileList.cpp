#include "CRecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Recent File List");
}

CRecentFileList::CRecentFileList(int size) : m_nSize(size) {}

void CRecentFileList::ReadList() {
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    m_files.clear();
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = settings.value(kSection + QStringLiteral("/File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void CRecentFileList::WriteList() const {
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    settings.remove(kSection);
    for (int i = 0; i < m_files.size(); ++i)
        settings.setValue(kSection + QStringLiteral("/File%1").arg(i + 1), m_files[i]);
}

void CRecentFileList::Add(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // Reopening the newest file changes nothing; writing the settings file costs a disk sync.
    if (!m_files.isEmpty() && m_files.first() == absolute)
        return;
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
    WriteList();
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= m_files.size())
        return;
    m_files.removeAt(index);
    WriteList();
}

QString CRecentFileList::MenuText(int index) const {
    const QFileInfo info(m_files.value(index));
    QString name = info.fileName();
    for (int i = 0; i < m_files.size(); ++i)
        if (i != index && QFileInfo(m_files[i]).fileName() == name)
            name = QDir::toNativeSeparators(m_files.value(index));
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}
