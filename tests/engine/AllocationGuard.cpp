#include "AllocationGuard.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool guarding = false;
thread_local std::size_t count = 0;

void* allocate (std::size_t size)
{
    if (guarding)
        ++count;
    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

AllocationGuard::AllocationGuard()
{
    count = 0;
    guarding = true;
}

AllocationGuard::~AllocationGuard() { guarding = false; }

std::size_t AllocationGuard::allocations() const { return count; }

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    if (guarding)
        ++count;
    return std::malloc (size == 0 ? 1 : size);
}
void* operator new[] (std::size_t size, const std::nothrow_t& t) noexcept { return operator new (size, t); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
