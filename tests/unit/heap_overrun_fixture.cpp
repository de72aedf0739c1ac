// Writes one byte past the end of a heap block and frees it: on the checked heap this must be
// reported, which is how the heap-checked run proves its checker was switched on.

#include <windows.h>

#include <cstdio>

int main() {
  constexpr SIZE_T kSize = 16;
  auto* block = static_cast<volatile unsigned char*>(HeapAlloc(GetProcessHeap(), 0, kSize));
  if (block == nullptr) return 2;
  block[kSize] = 0x5A;  // the overrun
  HeapFree(GetProcessHeap(), 0, const_cast<unsigned char*>(block));
  std::puts("overran and freed a block");
  return 0;
}
