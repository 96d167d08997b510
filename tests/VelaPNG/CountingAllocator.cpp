// Replaces operator new in the allocation test binary to record the largest request.

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

std::atomic<size_t> LargestRequest{0};

// This test binary counts every operator new; malloc-backed so the sanitizers still see it.
void* operator new(size_t size)
{
    size_t seen = LargestRequest.load();
    while (size > seen && !LargestRequest.compare_exchange_weak(seen, size)) { }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}
