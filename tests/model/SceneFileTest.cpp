// The scene file layout: exact bytes of small records, and lossless round trips.
#include "SceneFile.h"
#include "CArchive.h"
#include "FileSizeLimit.h"
#include "TestScenes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace testscenes;

namespace {

TEST(SceneFile, EmptyDocumentIs32Bytes) {
    CQuivraDoc doc;
    doc.SetModifiedFlag(true);
    const QByteArray bytes = SceneFile::ToBytes(doc);
    EXPECT_EQ(bytes, SceneBytes().u32(0).u32(0).u32(0).u32(0).u32(0).u32(0).u32(1).u32(1).b);
    EXPECT_FALSE(doc.IsModified()); // writing clears the flag
}

TEST(SceneFile, StringLengthForms) {
    struct Case {
        std::size_t length;
        QByteArray prefix;
    } cases[] = {
        {0, QByteArray(1, '\0')},
        {254, QByteArray(1, char(254))},
        {255, SceneBytes().raw(QByteArray(1, char(0xFF))).u16(255).b},
        {65533, SceneBytes().raw(QByteArray(1, char(0xFF))).u16(65533).b},
        {65534, SceneBytes().raw(QByteArray(1, char(0xFF))).u16(0xFFFF).u32(65534).b},
        {70000, SceneBytes().raw(QByteArray(1, char(0xFF))).u16(0xFFFF).u32(70000).b},
    };
    for (const Case& c : cases) {
        CArchive out;
        const std::string s(c.length, 'n');
        out.WriteString(s);
        const QByteArray bytes = out.Buffer();
        EXPECT_EQ(bytes.left(c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(static_cast<std::size_t>(bytes.size()), c.prefix.size() + c.length);
        CArchive in(bytes);
        EXPECT_EQ(in.ReadString(), s);
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(SceneFile, SeriesAndNameEncodingInTheFile) {
    CQuivraDoc doc;
    doc.AddSeries();
    doc.m_seriesNames[0] = std::string(255, 'a');
    const QByteArray bytes = SceneFile::ToBytes(doc);
    SceneBytes expected;
    expected.u32(0).u32(1).u32(0).u32(0).u32(0); // counts and numbers of an empty scene
    expected.raw(QByteArray(1, char(0xFF))).u16(255).raw(QByteArray(255, 'a'));
    expected.f64(1000.0).u32(0).u32(1).u32(24).f64(1.0); // frequency, unit, flag, frames, ampl.
    expected.u32(0).u32(1).u32(1);
    EXPECT_EQ(bytes, expected.b);
}

TEST(SceneFile, BoxAndCylinderRecords) {
    CQuivraDoc doc;
    BoxObject* box = AddBox(doc, 0, 0, 0);
    CylinderObject* plain = AddCylinder(doc, false);
    AddCylinder(doc, true);
    plain->m_pCentre->m_x = 5;
    QByteArray bytes = SceneFile::ToBytes(doc);
    // Header, then 28 points of 32 bytes (no directions).
    const int objectsAt = 20 + 28 * 32;
    SceneBytes boxRecord;
    boxRecord.u32(2).u32(8);
    for (int i = 0; i < 8; ++i)
        boxRecord.u32(i);
    boxRecord.u32(12);
    for (const Line* l : box->m_lines)
        boxRecord.u32(box->IndexOfPoint(l->m_pPointA)).u32(box->IndexOfPoint(l->m_pPointB));
    EXPECT_EQ(bytes.mid(objectsAt, boxRecord.b.size()), boxRecord.b);

    const int cylAt = objectsAt + boxRecord.b.size();
    const QByteArray noLine =
        SceneBytes().u32(1).f64(2.0).f64(5).f64(0).f64(0).u32(1).u32(0).u32(10).b;
    EXPECT_EQ(bytes.mid(cylAt, noLine.size()), noLine);
    const int cyl2At = cylAt + noLine.size() + 10 * 4 + 4 + 12 * 8;
    const QByteArray withLine =
        SceneBytes().u32(1).f64(2.0).f64(0).f64(0).f64(0).u32(1).u32(1).u32(26).u32(27).u32(10).b;
    EXPECT_EQ(bytes.mid(cyl2At, withLine.size()), withLine);
}

TEST(SceneFile, RoundTripKeepsEverythingByteForByte) {
    CQuivraDoc doc;
    BuildSample(doc);
    doc.m_nNextPointNumber = 77;
    doc.m_nNextDirectionNumber = 55;
    const QByteArray first = SceneFile::ToBytes(doc);

    CQuivraDoc back;
    QString error;
    ASSERT_TRUE(SceneFile::FromBytes(first, back, &error)) << error.toStdString();
    EXPECT_EQ(SceneFile::ToBytes(back), first);
    EXPECT_EQ(back.m_nNextPointNumber, 77);
    EXPECT_EQ(back.m_nNextDirectionNumber, 55);
    EXPECT_EQ(static_cast<const SeriesColumns&>(back), static_cast<const SeriesColumns&>(doc));
    ASSERT_EQ(back.m_objects.size(), 2u);
    EXPECT_EQ(back.m_objects[0]->GetType(), SceneObject::TypeBox);
    EXPECT_EQ(back.m_objects[1]->GetType(), SceneObject::TypeCylinder);
    EXPECT_EQ(back.m_objects[1]->m_pCentreLine->m_pPointA, back.m_objects[1]->m_points[8]);
    EXPECT_EQ(back.m_objects[0]->m_points[0]->m_pOwner, back.m_objects[0]);
    EXPECT_EQ(back.m_objects[0]->m_points[0]->m_pDoc, &back);
    EXPECT_EQ(back.m_pOrigin->m_x, 0.0);
    EXPECT_EQ(back.m_bUndoAvailable, 0);
    // The loaded records obey the cascades like new ones.
    delete back.m_freePoints[2];
    EXPECT_EQ(back.m_freeLines.size(), 1u);
}

TEST(SceneFile, StoredTypeOtherThanCylinderReadsAsBox) {
    CQuivraDoc doc;
    AddBox(doc, 0, 0, 0);
    QByteArray bytes = SceneFile::ToBytes(doc);
    const int typeAt = 20 + 8 * 32;
    bytes[typeAt] = 3;
    CQuivraDoc back;
    ASSERT_TRUE(SceneFile::FromBytes(bytes, back, nullptr));
    ASSERT_EQ(back.m_objects.size(), 1u);
    EXPECT_EQ(back.m_objects[0]->GetType(), SceneObject::TypeBox);
    bytes[typeAt] = 2;
    EXPECT_EQ(SceneFile::ToBytes(back), bytes); // written back as 2
}

TEST(SceneFile, FailedSaveKeepsTheOldFileAndSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath("scene.qvr");
    CQuivraDoc small;
    ASSERT_TRUE(SceneFile::Save(small, path, nullptr));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();

    CQuivraDoc big;
    BuildSample(big);
    big.SetModifiedFlag(true);
    QString error;
    const bool ok = WithFileSizeLimit(100, [&] { return SceneFile::Save(big, path, &error); });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_TRUE(big.IsModified()); // nothing was saved
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind

    CQuivraDoc back, missing;
    EXPECT_TRUE(SceneFile::Load(path, back, &error)) << error.toStdString(); // the old one loads
    EXPECT_FALSE(SceneFile::Load(dir.filePath("nope.qvr"), missing, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("nope.qvr")));
}

// Writes the scene fuzzer's seed files (fuzz/corpus/scene) when run on purpose:
//   model_tests --gtest_also_run_disabled_tests --gtest_filter='*WriteFuzzSeeds'
// with QUIVRA_SEED_DIR set.
TEST(SceneFile, DISABLED_WriteFuzzSeeds) {
    const QString dir = qEnvironmentVariable("QUIVRA_SEED_DIR");
    ASSERT_FALSE(dir.isEmpty());
    CQuivraDoc empty, sample, objects;
    BuildSample(sample);
    AddBox(objects, 0, 0, 0);
    AddCylinder(objects, false);
    objects.AddSeries();
    AddDirection(objects.m_objects[1]->m_points[0], DirRadialOut);
    ASSERT_TRUE(SceneFile::Save(empty, dir + QStringLiteral("/empty.qvr"), nullptr));
    ASSERT_TRUE(SceneFile::Save(sample, dir + QStringLiteral("/sample.qvr"), nullptr));
    ASSERT_TRUE(SceneFile::Save(objects, dir + QStringLiteral("/objects.qvr"), nullptr));
}

// A long load reports rising progress that ends at the whole, and a cancel leaves the document
// as it was, with no message to show.
TEST(SceneFile, LoadReportsProgressAndCanBeCancelled) {
    QTemporaryDir dir;
    const QString path = dir.filePath("large.qvr");
    CQuivraDoc big;
    for (int i = 0; i < 60000; ++i)
        AddDirection(AddFree(big, i, 0, 0), DirPlusX);
    ASSERT_TRUE(SceneFile::Save(big, path, nullptr));
    const qint64 size = QFileInfo(path).size();

    std::vector<qint64> seen;
    CQuivraDoc back;
    QString error;
    ASSERT_TRUE(SceneFile::Load(path, back, &error, [&](qint64 done, qint64 total) {
        EXPECT_EQ(total, 2 * size);
        seen.push_back(done);
        return true;
    })) << error.toStdString();
    EXPECT_EQ(back.AllPoints().size(), 60000u);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.front(), size);            // the bytes are read
    EXPECT_GT(seen.back(), size + (1 << 20)); // then the scene is read from them

    for (int stopAt : {1, 2}) { // while reading the bytes, while reading the scene
        CQuivraDoc cancelled;
        int calls = 0;
        error = QStringLiteral("unset");
        EXPECT_FALSE(SceneFile::Load(path, cancelled, &error,
                                     [&](qint64, qint64) { return ++calls < stopAt; }));
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_TRUE(cancelled.AllPoints().empty());
    }
}

} // namespace
