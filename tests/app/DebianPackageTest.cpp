// `cpack -G DEB` packs what the installation holds and declares what it needs from Debian.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(240000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(DebianPackage, HoldsTheProgramsTheDesktopFilesAndTheirDependencies) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    RunTool(QStringLiteral("cpack"),
            {"-G", "DEB", "-B", out.path(), "--config", QUIVRA_BINARY_DIR "/CPackConfig.cmake"});
    const QStringList debs = QDir(out.path()).entryList({"quivra_*.deb"});
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out.filePath(debs[0]);

    QStringList files;
    for (const QString& line : RunTool("dpkg-deb", {"-c", deb}).split('\n', Qt::SkipEmptyParts))
        files << line.section(' ', -1);
    // Where the files go is the installation's test; here that the package takes them along.
    for (const char* path :
         {"./usr/bin/quivra", "./usr/bin/qvrtool", "./usr/bin/quivra-instrument-sim",
          "./usr/share/mime/packages/quivra.xml"})
        EXPECT_TRUE(files.contains(QLatin1String(path))) << path;

    EXPECT_EQ(RunTool("dpkg-deb", {"-f", deb, "Package"}).trimmed(), "quivra");
    const QString depends = RunTool("dpkg-deb", {"-f", deb, "Depends"});
    for (const char* package : {"libqt6widgets6", "libqt6printsupport6", "libqt6serialport6",
                                "libosmesa6", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.contains(QLatin1String(package)))
            << package << " in " << depends.toStdString();
}

} // namespace
