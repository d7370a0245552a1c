// The program as a user gets it: `cmake --install` puts it, its menu entry and the *.qvr file
// type where a Linux desktop finds them; `cpack -G DEB` packs what the installation holds and
// declares what it needs from Debian; started where no display can be reached, it says so
// instead of failing inside Qt, and the README's run command still shows the scene, drawn by
// qvrtool.
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The standard output of a run that must end with exit code 0.
QString Succeeds(const QString& program, const QStringList& args,
                 const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    const ToolRun r = RunProgram(program, args, env);
    EXPECT_EQ(r.exitCode, 0) << program.toStdString() << ": " << r.err.toStdString();
    return r.out;
}

QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

TEST(DesktopIntegration, InstallRegistersTheSceneFileType) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    Succeeds(QStringLiteral("cmake"), {"--install", QUIVRA_BINARY_DIR, "--prefix", prefix.path()});
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
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile("pump.qvr", QMimeDatabase::MatchExtension);
    EXPECT_EQ(type.name(), "application/x-quivra");
    EXPECT_EQ(type.comment(), "Quivra Document");
}

TEST(DebianPackage, HoldsTheProgramsTheDesktopFilesAndTheirDependencies) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    Succeeds(QStringLiteral("cpack"),
             {"-G", "DEB", "-B", out.path(), "--config", QUIVRA_BINARY_DIR "/CPackConfig.cmake"});
    const QStringList debs = QDir(out.path()).entryList({"quivra_*.deb"});
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out.filePath(debs[0]);

    QStringList files;
    for (const QString& line : Succeeds("dpkg-deb", {"-c", deb}).split('\n', Qt::SkipEmptyParts))
        files << line.section(' ', -1);
    // Where the files go is the installation's test; here that the package takes them along.
    for (const char* path :
         {"./usr/bin/quivra", "./usr/bin/qvrtool", "./usr/bin/quivra-instrument-sim",
          "./usr/share/mime/packages/quivra.xml"})
        EXPECT_TRUE(files.contains(QLatin1String(path))) << path;

    EXPECT_EQ(Succeeds("dpkg-deb", {"-f", deb, "Package"}).trimmed(), "quivra");
    const QString depends = Succeeds("dpkg-deb", {"-f", deb, "Depends"});
    for (const char* package : {"libqt6widgets6", "libqt6printsupport6", "libqt6serialport6",
                                "libosmesa6", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.contains(QLatin1String(package)))
            << package << " in " << depends.toStdString();
}

TEST(HeadlessStart, ProgramWithoutDisplaySaysWhatIsMissingAndFails) {
    const ToolRun r = RunProgram(QStringLiteral(QUIVRA_PATH),
                                 {QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr")}, WithoutDisplay());
    EXPECT_GT(r.exitCode, 0); // a failure, not a crash
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("DISPLAY") && r.err.contains("ssh -X") &&
                r.err.contains("qvrtool render"))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Reinstalling")) << r.err.toStdString();
}

TEST(HeadlessStart, RunScriptFallbackDrawsTheSceneAndAPeriod) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString said = Succeeds(QStringLiteral("bash"),
                                  {QStringLiteral(QUIVRA_SOURCE_DIR "/scripts/show-headless"),
                                   QStringLiteral(QVRTOOL_PATH),
                                   QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr"), out.path()},
                                  WithoutDisplay());

    // A PNG of 1280 x 800: the signature, then the header chunk's big-endian width and height.
    const QString rest = out.filePath("pump.png");
    QFile png(rest);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray head = png.read(24);
    EXPECT_TRUE(head.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(head.mid(16, 8), QByteArray::fromHex("0000050000000320"));
    EXPECT_TRUE(said.contains(rest)) << said.toStdString();

    // And the frames of a period (their count is qvrtool frames' own test).
    const QStringList written =
        QDir(out.path()).entryList({QStringLiteral("pump - *.bmp")}, QDir::Files, QDir::Name);
    ASSERT_GT(written.size(), 1);
    EXPECT_TRUE(said.contains(out.filePath(written.last()))) << said.toStdString();
}

} // namespace
