#pragma once
// The one heap that holds every text, byte set and array, and the constant region of literals
// that freeing ignores.

#include <cstdint>

namespace rt {

// Takes the process's default heap for every block (runtime initialisation, first step).
void UseProcessHeap();

// size bytes, contents undefined. Never returns null: failure is a fatal runtime error.
void* Allocate(uint32_t size);
// As Allocate, for a size computed in 64 bits: a size beyond 32 bits is reported as the failed
// allocation it is, never wrapped to a small one.
void* AllocateSized(uint64_t size);
// As Allocate, but yields null on failure instead of reporting it.
void* AllocateOrNull(uint32_t size);
// Null behaves as Allocate. A block in the constant region is copied into a new block, never
// touched. Failure is fatal, as for Allocate.
void* Reallocate(void* block, uint32_t size);
// Null and blocks in the constant region are ignored.
void Free(void* block);

// A test's way to run out of memory on purpose: while set, every allocation for which refuse
// answers true fails as if the heap had no room left. Null puts the heap back in charge.
using AllocationRefusal = bool (*)(uint32_t size);
void RefuseAllocationsWhen(AllocationRefusal refuse);

// The span [start, start + length) of the image that holds the application's literals.
void SetConstantRegion(const void* start, uint32_t length);
void ForgetConstantRegion();
bool InConstantRegion(const void* p);

}  // namespace rt
