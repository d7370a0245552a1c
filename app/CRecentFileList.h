#pragma once

#include <QStringList>

// The most recently used files, newest first, kept in the settings under
// "Recent File List"/"File1".."FileN".
class CRecentFileList {
public:
    explicit CRecentFileList(int size);

    void ReadList();
    void WriteList() const;
    // Puts `path` (made absolute) at the top, dropping the oldest beyond the size.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_files; }
    int Size() const { return m_nSize; }
    // Menu text of entry `index`: "&1 name" (the file name, with its folder when another entry
    // has the same name).
    QString MenuText(int index) const;

private:
    int m_nSize;
    QStringList m_files;
};
