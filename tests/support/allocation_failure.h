// A seam for running out of memory: while a FailingAllocation lives, the Nth allocation through
// operator new on its thread throws std::bad_alloc (later ones succeed again), and every
// allocation is counted. The test programs that link allocation_failure.cpp replace the global
// operator new and delete for this.
#pragma once

#include <cstdint>

namespace tov::test {

class FailingAllocation {
  public:
    // `nth` counts from 1; 0 fails nothing and only counts.
    explicit FailingAllocation(std::uint64_t nth);
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

    // Fails the Nth allocation from now on instead (0: none), and starts counting anew.
    void Arm(std::uint64_t nth);
    // Whether the chosen allocation has been reached and failed.
    bool failed() const;
    // Allocations since the object was made or last armed.
    std::uint64_t count() const;
};

}  // namespace tov::test
