#pragma once
// The executables the fault tests hand to the tool: images of any length whose every byte
// differs from its neighbours, the four bytes each resolution puts into them, and large sparse
// files that are compared by their marked regions.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "executable_layout.h"
#include "synthetic_executable.h"

namespace reliability {

using e2e::kHeightOffset;
using e2e::kImageSize;
using e2e::kResolutions;
using e2e::kSignatureOffset;
using e2e::kWidthOffset;
using e2e::Resolution;
inline constexpr uint32_t kFieldsEnd = 0x4A147C;  // the first byte after the height field's pair

using e2e::FieldsIn;
using e2e::Patched;

// length bytes; seed tells files apart. With the signature (as much of it as lies inside), the
// tool's check passes.
std::vector<uint8_t> Image(uint32_t length, uint8_t seed, bool signature = true);

// A sparse file of length bytes, zero but for the marked regions (below), which hold Image's
// bytes at the same offsets: the start, the signature and both fields, and the end.
bool MakeSparseFile(const std::wstring& path, uint64_t length, uint8_t seed);
struct SparseState {
  uint64_t length = 0;
  FILETIME written{};
  std::vector<uint8_t> marked;  // the marked regions one after another
};
SparseState StateOf(const std::wstring& path);
bool operator==(const SparseState& a, const SparseState& b);

}  // namespace reliability
