#include "tests/app/FailingAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
// The thread whose allocations are counted (0: none), and how many more succeed before one fails.
std::atomic<DWORD> g_dwThread(0);
std::atomic<int> g_nLeft(0);
std::atomic<bool> g_bFailed(false);

bool FailsNow()
{
    if (g_dwThread.load(std::memory_order_relaxed) != ::GetCurrentThreadId() || --g_nLeft > 0)
        return false;
    g_dwThread = 0;
    g_bFailed = true;
    return true;
}
}  // namespace

void FailNthAllocationOn(DWORD dwThreadId, int nth)
{
    g_bFailed = false;
    g_nLeft = nth;
    g_dwThread = dwThreadId;
}

bool TakeAllocationFailure()
{
    g_dwThread = 0;
    return g_bFailed.exchange(false);
}

// Every other form of new and delete in the C++ library goes through these two.
void* operator new(std::size_t size)
{
    if (FailsNow())
        throw std::bad_alloc();
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
