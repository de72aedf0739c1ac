#include "runtime/core/memory.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/core/error_reporter.h"

namespace rt {
namespace {

HANDLE heap = nullptr;
const uint8_t* constantStart = nullptr;
const uint8_t* constantEnd = nullptr;

// Blocks may be asked for before initialisation has named the heap (static construction, tests);
// they come from the same default heap.
HANDLE Heap() {
  if (heap == nullptr) heap = GetProcessHeap();
  return heap;
}

[[noreturn]] void ReportAllocationFailure(uint32_t size) {
  char message[100];
  std::snprintf(message, sizeof message, "分配 %u 字节内存失败!", size);
  Report(message, 0);
}

}  // namespace

void UseProcessHeap() { heap = GetProcessHeap(); }

void* AllocateOrNull(uint32_t size) { return HeapAlloc(Heap(), 0, size); }

void* Allocate(uint32_t size) {
  void* block = AllocateOrNull(size);
  if (block == nullptr) ReportAllocationFailure(size);
  return block;
}

void* Reallocate(void* block, uint32_t size) {
  if (block == nullptr) return Allocate(size);
  if (InConstantRegion(block)) {
    // A literal is never resized in place: copy what the region holds from it onwards.
    void* copy = Allocate(size);
    const auto available = static_cast<uint32_t>(constantEnd - static_cast<const uint8_t*>(block));
    std::memcpy(copy, block, size < available ? size : available);
    return copy;
  }
  void* moved = HeapReAlloc(Heap(), 0, block, size);
  if (moved == nullptr) ReportAllocationFailure(size);
  return moved;
}

void Free(void* block) {
  if (block == nullptr || InConstantRegion(block)) return;
  HeapFree(Heap(), 0, block);
}

void SetConstantRegion(const void* start, uint32_t length) {
  constantStart = static_cast<const uint8_t*>(start);
  constantEnd = constantStart + length;
}

void ForgetConstantRegion() { constantStart = constantEnd = nullptr; }

bool InConstantRegion(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return constantStart != nullptr && b >= constantStart && b < constantEnd;
}

}  // namespace rt
