// tests/support/HeapCount.cpp - the counting operator new and delete (see HeapCount.h).
#include "tests/support/HeapCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front, in a header that keeps the alignment malloc gives.
constexpr size_t kHeader = 16;

std::atomic<size_t> g_inUse{0};
std::atomic<size_t> g_peak{0};

void* Allocate(size_t size) {
    char* block = static_cast<char*>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    const size_t now = g_inUse.fetch_add(size) + size;
    size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return block + kHeader;
}

void* AllocateOrNull(size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void Release(void* p) noexcept {
    if (!p)
        return;
    char* block = static_cast<char*>(p) - kHeader;
    g_inUse.fetch_sub(*reinterpret_cast<size_t*>(block));
    std::free(block);
}

} // namespace

namespace testing_support {

size_t HeapInUse() {
    return g_inUse.load();
}

size_t HeapPeak() {
    return g_peak.load();
}

void ResetHeapPeak() {
    g_peak.store(g_inUse.load());
}

} // namespace testing_support

// The over-aligned forms stay the library's: nothing measured asks for them.
void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
