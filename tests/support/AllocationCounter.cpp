#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#ifdef _WIN32
#include <malloc.h>
#endif
#include <new>

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void noteAllocation() {
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}

void* allocate(std::size_t size) {
    noteAllocation();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

// The Windows C runtime has no aligned_alloc, and its aligned blocks need their own release.
#ifdef _WIN32
void* alignedBlock(std::size_t a, std::size_t size) {
    return _aligned_malloc(size, a);
}
void releaseAligned(void* p) {
    _aligned_free(p);
}
#else
void* alignedBlock(std::size_t a, std::size_t size) {
    return std::aligned_alloc(a, size);
}
void releaseAligned(void* p) {
    std::free(p);
}
#endif

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    noteAllocation();
    const std::size_t a = static_cast<std::size_t>(alignment);
    if (void* p = alignedBlock(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
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
void operator delete(void* p, std::align_val_t) noexcept {
    releaseAligned(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    releaseAligned(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    releaseAligned(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    releaseAligned(p);
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

void* malloc(std::size_t size) {
    noteAllocation();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    noteAllocation();
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
    noteAllocation();
    return __libc_realloc(p, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    noteAllocation();
    return __libc_memalign(alignment, size);
}
}
#endif

CountingScope::CountingScope() {
    allocations.store(0);
    counting.store(true);
}
CountingScope::~CountingScope() {
    counting.store(false);
}
int CountingScope::seen() const {
    return allocations.load();
}

bool countsCAllocations() {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    return true;
#else
    return false;
#endif
}
