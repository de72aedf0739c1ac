#pragma once
// Counts the blocks in use in the process's default heap, to see what an operation frees.

#include <windows.h>

#include <cstddef>

inline size_t BusyHeapBlocks() {
  const HANDLE heap = GetProcessHeap();
  size_t busy = 0;
  PROCESS_HEAP_ENTRY entry{};
  HeapLock(heap);
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
  HeapUnlock(heap);
  return busy;
}
