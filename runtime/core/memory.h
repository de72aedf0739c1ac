#pragma once
// The one heap that holds every text, byte set and array, and the constant region of literals
// that freeing ignores.

#include <cstdint>

namespace rt {

// Takes the process's default heap for every block (runtime initialisation, first step).
void UseProcessHeap();

// size bytes, contents undefined. Never returns null: failure is a fatal runtime error.
void* Allocate(uint32_t size);
// As Allocate, but yields null on failure instead of reporting it.
void* AllocateOrNull(uint32_t size);
// Null behaves as Allocate. A block in the constant region is copied into a new block, never
// touched. Failure is fatal, as for Allocate.
void* Reallocate(void* block, uint32_t size);
// Null and blocks in the constant region are ignored.
void Free(void* block);

// The span [start, start + length) of the image that holds the application's literals.
void SetConstantRegion(const void* start, uint32_t length);
void ForgetConstantRegion();
bool InConstantRegion(const void* p);

}  // namespace rt
