// The benchmarks' clock: seconds from a steady, fine-grained counter.
#pragma once
#include <chrono>

inline double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
