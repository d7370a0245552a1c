// The program's traces on the disk: remembered folders, and files written whole or not at all.
#include "AtomicFile.h"
#include "FileSizeLimit.h"
#include "RecentFolders.h"
#include "SceneFile.h"
#include "TestFiles.h"
#include "TestScenes.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(RecentFolders, RemembersFoldersThatStillExist) {
    // Settings of their own: the user's are never touched.
    QTemporaryDir settings, work;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const QString sub = work.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkdir(sub));
    RecentFolders::Remember(RecentFolders::Images, work.filePath(QStringLiteral("a.bmp")));
    RecentFolders::Remember(RecentFolders::Scenes, sub);
    RecentFolders::Remember(RecentFolders::Scenes, QString()); // nothing to remember
    EXPECT_EQ(RecentFolders::Folder(RecentFolders::Images), work.path());
    EXPECT_EQ(RecentFolders::Folder(RecentFolders::Scenes), sub);
    EXPECT_EQ(RecentFolders::Folder(RecentFolders::UniversalFiles), QDir::homePath());
    ASSERT_TRUE(QDir(sub).removeRecursively());
    EXPECT_EQ(RecentFolders::Folder(RecentFolders::Scenes), QDir::homePath());
}

// A write the system refuses outright is reported with the system's reason.
TEST(AtomicFile, RefusedWriteGivesTheSystemsReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    QString why;
    EXPECT_FALSE(WithFileSizeLimit(100, [&] {
        return AtomicFile::Write(
            path,
            [](const AtomicFile::Chunk& write) {
                write(QByteArray(100, 'a').constData(), 100) && write("b", 1);
            },
            &why);
    }));
    EXPECT_EQ(why, qt_error_string(EFBIG));
    EXPECT_FALSE(QFile::exists(path));
}

// A file that shrinks while it is read (another program cutting it) is refused as cut short,
// not read on from stale bytes: the file below is half as long as its size says.
TEST(SceneFile, FileShorterThanItsSizeIsCutShort) {
    struct Shrinking : QFile {
        using QFile::QFile;
        qint64 size() const override { return 2 * QFile::size(); }
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.qvr"));
    CQuivraDoc doc, back;
    testscenes::BuildSample(doc);
    const QByteArray bytes = SceneFile::ToBytes(doc);
    ASSERT_TRUE(WriteBytes(path, bytes.left(bytes.size() / 2)));
    Shrinking f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString error;
    EXPECT_FALSE(SceneFile::LoadOpen(f, path, back, &error));
    EXPECT_TRUE(error.contains(QLatin1String("unexpected end of file"))) << error.toStdString();
}

} // namespace
