// The scene writer sizes its buffers from a computed file size and hands its bytes on in chunks;
// records come from pools shared by all threads.
#include "SceneFile.h"
#include "TestFiles.h"
#include "TestScenes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

using namespace testscenes;

namespace {

// Every kind of record, each alone, so that a wrong size term shows with its name; and a series
// name longer than a writing chunk, so that its bytes are split across chunks.
TEST(SceneFileSize, ComputedSizeIsWhatIsWrittenForEveryRecordKind) {
    struct Case {
        const char* label;
        std::function<void(CQuivraDoc&)> build;
    } cases[] = {
        {"empty", [](CQuivraDoc&) {}},
        {"series names of every length form",
         [](CQuivraDoc& d) {
             for (std::size_t n : {0, 254, 255, 65533, 65534, 70000}) {
                 d.AddSeries();
                 d.m_seriesNames.back() = std::string(n, 's');
             }
         }},
        {"series name longer than a chunk",
         [](CQuivraDoc& d) {
             d.AddSeries();
             d.m_seriesNames.back() = std::string(3 << 20, 'L');
         }},
        {"free points, directions, measurements",
         [](CQuivraDoc& d) {
             d.AddSeries();
             d.AddSeries();
             AddFree(d, 1, 2, 3);
             CornerPoint* p = AddFree(d, 4, 5, 6);
             AddDirection(p, DirPlusX);
             AddDirection(p, DirMinusZ);
         }},
        {"free lines",
         [](CQuivraDoc& d) {
             CornerPoint* a = AddFree(d, 0, 0, 0);
             CornerPoint* b = AddFree(d, 1, 0, 0);
             d.m_freeLines.push_back(new Line(a, b));
             d.m_freeLines.push_back(new Line(b, a));
         }},
        {"box", [](CQuivraDoc& d) { AddBox(d, 0, 0, 0); }},
        {"cylinder with centre line", [](CQuivraDoc& d) { AddCylinder(d, true); }},
        {"cylinder without centre line", [](CQuivraDoc& d) { AddCylinder(d, false); }},
        {"cylinder flagged without its line",
         [](CQuivraDoc& d) { AddCylinder(d, false)->m_bHasCentreLine = 1; }},
        {"everything", [](CQuivraDoc& d) { BuildSample(d); }},
        {"more than one read chunk",
         [](CQuivraDoc& d) {
             d.AddSeries();
             for (int i = 0; i < 30000; ++i)
                 AddDirection(AddFree(d, i, 0, 0), DirPlusY);
         }},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        CQuivraDoc doc;
        c.build(doc);
        const QByteArray bytes = SceneFile::ToBytes(doc);
        EXPECT_EQ(doc.SceneFileSize(), static_cast<std::size_t>(bytes.size())) << c.label;

        // The saved file is the same bytes, written chunk by chunk, and reads back to them.
        const QString path = dir.filePath(QStringLiteral("scene.qvr"));
        ASSERT_TRUE(SceneFile::Save(doc, path, nullptr)) << c.label;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.label;
        EXPECT_EQ(f.readAll(), bytes) << c.label;
        CQuivraDoc back;
        QString error;
        ASSERT_TRUE(SceneFile::Load(path, back, &error)) << c.label << error.toStdString();
        EXPECT_EQ(SceneFile::ToBytes(back), bytes) << c.label;
    }
}

// Loading from the file a chunk at a time checks every read as loading from memory does.
TEST(SceneFileSize, EveryTruncatedFileIsRejectedWhole) {
    CQuivraDoc sample;
    BuildSample(sample);
    const QByteArray full = SceneFile::ToBytes(sample);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.qvr"));
    for (int n = 0; n < full.size(); ++n) {
        ASSERT_TRUE(WriteBytes(path, full.left(n)));
        CQuivraDoc doc, inMemory;
        QString error;
        EXPECT_FALSE(SceneFile::Load(path, doc, &error)) << n;
        EXPECT_TRUE(error.contains(QLatin1String("not a valid scene file"))) << n;
        EXPECT_TRUE(doc.m_freePoints.empty() && doc.m_objects.empty() && doc.m_nSeries == 0) << n;
        EXPECT_FALSE(SceneFile::FromBytes(full.left(n), inMemory, &error)) << n;
        EXPECT_TRUE(inMemory.AllPoints().empty() && inMemory.m_seriesNames.empty()) << n;
    }
}

// A scene read on a worker thread outlives the thread: its records must not go with it.
TEST(SceneFileSize, SceneLoadedOnAnEndedThreadStaysIntact) {
    CQuivraDoc sample;
    BuildSample(sample);
    for (int i = 0; i < 5000; ++i) // more records than one pool block holds
        AddDirection(AddFree(sample, i, 0, 0), DirPlusY);
    const QByteArray bytes = SceneFile::ToBytes(sample);

    CQuivraDoc loaded;
    bool ok = false;
    std::thread([&] { ok = SceneFile::FromBytes(bytes, loaded, nullptr); }).join();
    ASSERT_TRUE(ok);
    // New records on this thread must not land on the loaded ones either.
    CQuivraDoc other;
    BuildSample(other);
    EXPECT_EQ(SceneFile::ToBytes(loaded), bytes);
}

} // namespace
