// `cmake --install` puts the program, its menu entry and the *.qvr file type where a Linux
// desktop finds them.
#include <QDir>
#include <QMimeDatabase>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DesktopIntegration, InstallRegistersTheSceneFileType) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QProcess install;
    install.start(QStringLiteral("cmake"),
                  {"--install", QUIVRA_BINARY_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QDir root(prefix.path());
    EXPECT_TRUE(QFileInfo(root.filePath("bin/quivra")).isExecutable());

    QSettings desktop(root.filePath("share/applications/quivra.desktop"), QSettings::IniFormat);
    desktop.beginGroup("Desktop Entry");
    EXPECT_EQ(desktop.value("Type").toString(), "Application");
    EXPECT_TRUE(desktop.value("Exec").toString().startsWith("quivra %"));
    EXPECT_TRUE(desktop.value("MimeType").toString().contains("application/x-quivra"));
    EXPECT_EQ(desktop.value("Actions").toString(), "Print");
    const QString icon = desktop.value("Icon").toString();
    EXPECT_TRUE(
        QFileInfo::exists(root.filePath("share/icons/hicolor/scalable/apps/" + icon + ".svg")));
    desktop.endGroup();
    EXPECT_EQ(desktop.value("Desktop Action Print/Exec").toString(), "quivra --print %F");

    // The MIME database, looking in the installed folder first, knows scenes by their name.
    qputenv("XDG_DATA_DIRS", (root.filePath("share") + ":/usr/share").toLocal8Bit());
    QMimeDatabase mime;
    const QMimeType type = mime.mimeTypeForFile("pump.qvr", QMimeDatabase::MatchExtension);
    EXPECT_EQ(type.name(), "application/x-quivra");
    EXPECT_EQ(type.comment(), "Quivra Document");
}

} // namespace
