// The stop request of a worker: written by the user-interface thread, polled by the worker.
#pragma once
#include <atomic>

#include "classlib/WinTypes.h"

typedef std::atomic<BOOL> StopFlag;

// True when a stop was asked. Polling needs no ordering with other data: the worker only ends
// sooner.
inline bool StopAsked(const StopFlag* stop) { return stop->load(std::memory_order_relaxed) != 0; }
