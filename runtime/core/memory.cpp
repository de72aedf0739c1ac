#include "runtime/core/memory.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "runtime/core/error_reporter.h"

namespace rt {
namespace {

HANDLE heap = nullptr;
const uint8_t* constantStart = nullptr;
const uint8_t* constantEnd = nullptr;
AllocationRefusal refusal = nullptr;

// Blocks may be asked for before initialisation has named the heap (static construction, tests);
// they come from the same default heap.
HANDLE Heap() {
  if (heap == nullptr) heap = GetProcessHeap();
  return heap;
}

bool Refused(uint32_t size) { return refusal != nullptr && refusal(size); }

// Formatted on the stack: the heap has just said it has no room.
[[noreturn]] void ReportAllocationFailure(uint64_t size) {
  constexpr char kBefore[] = "分配 ";
  constexpr char kAfter[] = " 字节内存失败!";
  char message[100];
  char* end = std::copy_n(kBefore, sizeof kBefore - 1, message);
  end = std::to_chars(end, end + 20, size).ptr;
  std::copy_n(kAfter, sizeof kAfter, end);  // with its terminating zero
  Report(message, 0);
}

}  // namespace

void UseProcessHeap() { heap = GetProcessHeap(); }

void* AllocateOrNull(uint32_t size) { return Refused(size) ? nullptr : HeapAlloc(Heap(), 0, size); }

void* Allocate(uint32_t size) {
  void* block = AllocateOrNull(size);
  if (block == nullptr) ReportAllocationFailure(size);
  return block;
}

void* AllocateSized(uint64_t size) {
  if (size > UINT32_MAX) ReportAllocationFailure(size);
  return Allocate(static_cast<uint32_t>(size));
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
  void* moved = Refused(size) ? nullptr : HeapReAlloc(Heap(), 0, block, size);
  if (moved == nullptr) ReportAllocationFailure(size);
  return moved;
}

void Free(void* block) {
  if (block == nullptr || InConstantRegion(block)) return;
  HeapFree(Heap(), 0, block);
}

void RefuseAllocationsWhen(AllocationRefusal refuse) { refusal = refuse; }

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
