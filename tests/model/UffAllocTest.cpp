// An import that runs out of memory at any allocation is refused and leaves the scene as it was.
#include "SceneFile.h"
#include "TestFiles.h"
#include "TestScenes.h"
#include "UffReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
long g_countdown = -1; // allocations left before one fails; -1: never fail
}

void* operator new(std::size_t size) {
    if (g_countdown == 0)
        throw std::bad_alloc();
    if (g_countdown > 0)
        --g_countdown;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(UffAlloc, EveryFailedAllocationLeavesTheSceneUnchanged) {
    const QByteArray file = ReadBytes(QStringLiteral(QUIVRA_TEST_DATA "/uff/shapes-only.uff"));
    ASSERT_FALSE(file.isEmpty());
    int failures = 0;
    for (long n = 0;; ++n) {
        CQuivraDoc doc;
        testscenes::BuildSample(doc);
        const QByteArray before = SceneFile::ToBytes(doc);
        QString error;
        g_countdown = n;
        const bool ok = UffReader::Import(file, doc, nullptr, &error);
        g_countdown = -1;
        if (ok)
            break; // every allocation up to the last one has failed once
        ++failures;
        EXPECT_EQ(error, QStringLiteral("there is not enough memory to import it")) << n;
        ASSERT_EQ(SceneFile::ToBytes(doc), before) << "allocation " << n;
    }
    EXPECT_GT(failures, 20);
}

} // namespace
