#include "tests/support/allocation_failure.h"

#include <cstdlib>
#include <new>

namespace {

struct Seam {
    bool active = false;
    std::uint64_t fail_at = 0;  // 0: none
    std::uint64_t count = 0;
    bool failed = false;
};

thread_local Seam seam;

void* Allocate(std::size_t size) {
    if (seam.active) {
        ++seam.count;
        if (seam.count == seam.fail_at) {
            seam.failed = true;
            throw std::bad_alloc();
        }
    }
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

namespace tov::test {

FailingAllocation::FailingAllocation(std::uint64_t nth) {
    Arm(nth);
}

FailingAllocation::~FailingAllocation() {
    seam = Seam{};
}

void FailingAllocation::Arm(std::uint64_t nth) {
    seam = Seam{true, nth, 0, false};
}

bool FailingAllocation::failed() const {
    return seam.failed;
}

std::uint64_t FailingAllocation::count() const {
    return seam.count;
}

}  // namespace tov::test

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
