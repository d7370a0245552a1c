#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

// A free-list allocator for small records of one size that a scene holds by the million
// (points, directions, lines, measurements): one heap block per 4096 records instead of one
// allocation each, handed out in address order so that a scene read from a file lies in memory
// as it lies in the file. Memory of freed records is reused, not returned.
//
// Each thread keeps its own free list; the blocks are the process's and are never given back,
// so a record made on one thread (a loading worker's) stays valid on another after that
// thread has ended.
//
// Under AddressSanitizer every record is its own allocation, so that a use after free is still
// caught there.
#if defined(__SANITIZE_ADDRESS__)
#define QUIVRA_POOL_RECORDS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIVRA_POOL_RECORDS 0
#endif
#endif
#ifndef QUIVRA_POOL_RECORDS
#define QUIVRA_POOL_RECORDS 1
#endif

template <std::size_t Size> class RecordPool {
public:
#if !QUIVRA_POOL_RECORDS
    static void* Allocate() {
        return ::operator new(Size);
    }
    static void Release(void* ptr) {
        ::operator delete(ptr);
    }
#else
    static void* Allocate() {
        Slot*& free = FreeList();
        if (!free)
            free = Grow();
        Slot* s = free;
        free = s->next;
        return s;
    }
    static void Release(void* ptr) {
        if (!ptr)
            return;
        Slot*& free = FreeList();
        Slot* s = static_cast<Slot*>(ptr);
        s->next = free;
        free = s;
    }

private:
    union Slot {
        Slot* next;
        alignas(std::max_align_t) unsigned char bytes[Size];
    };
    static constexpr std::size_t kBlock = 4096;

    static Slot*& FreeList() {
        thread_local Slot* free = nullptr;
        return free;
    }
    // A new block, its slots linked in address order. Throws std::bad_alloc as new does.
    static Slot* Grow() {
        static std::mutex lock;
        // Never destroyed: records may outlive static destruction at exit.
        static auto* blocks = new std::vector<std::unique_ptr<Slot[]>>;
        std::unique_ptr<Slot[]> block(new Slot[kBlock]);
        Slot* b = block.get();
        {
            const std::lock_guard<std::mutex> guard(lock);
            blocks->push_back(std::move(block));
        }
        for (std::size_t i = 0; i + 1 < kBlock; ++i)
            b[i].next = &b[i + 1];
        b[kBlock - 1].next = nullptr;
        return b;
    }
#endif
};
