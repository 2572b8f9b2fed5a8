#pragma once

#include <cstddef>

/** Counts heap allocations made on the current thread while a guard lives.
    Replaces the global operator new of the test executable. */
class AllocationGuard
{
public:
    AllocationGuard();
    ~AllocationGuard();
    std::size_t allocations() const;

    AllocationGuard (const AllocationGuard&) = delete;
    AllocationGuard& operator= (const AllocationGuard&) = delete;
};
