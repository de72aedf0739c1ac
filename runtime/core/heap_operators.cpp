// The program's operator new and delete: every block that C++ code asks for, library containers
// included, comes from the runtime's heap. Running out of memory is then the runtime's fatal
// error, with its box and exit code -1, and never an exception that nothing catches (which ends
// in abort() with exit code 3 and no word to the user). The nothrow forms answer null, as they
// promise. Linked wherever the runtime is, in place of the C++ library's own.

#include <cstddef>
#include <new>

#include "runtime/core/memory.h"

void* operator new(std::size_t size) { return rt::Allocate(size); }
void* operator new[](std::size_t size) { return rt::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return rt::AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return rt::AllocateOrNull(size); }

void operator delete(void* block) noexcept { rt::Free(block); }
void operator delete[](void* block) noexcept { rt::Free(block); }
void operator delete(void* block, std::size_t) noexcept { rt::Free(block); }
void operator delete[](void* block, std::size_t) noexcept { rt::Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { rt::Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { rt::Free(block); }
