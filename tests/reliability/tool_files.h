#pragma once
// The executables the fault tests hand to the tool: images of any length whose every byte
// differs from its neighbours, the four bytes each resolution puts into them, and large sparse
// files that are compared by their marked regions.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace reliability {

inline constexpr uint32_t kSignatureOffset = 0x3AC220;
inline constexpr uint32_t kWidthOffset = 0x4A1474;
inline constexpr uint32_t kHeightOffset = 0x4A1478;
inline constexpr uint32_t kFieldsEnd = 0x4A147C;  // the first byte after the height field's pair
inline constexpr uint32_t kImageSize = 0x4A1480;

struct Resolution {
  const wchar_t* item;
  uint8_t fields[4];  // width at kWidthOffset, then height at kHeightOffset
};

// In the list's order.
inline constexpr Resolution kResolutions[] = {
    {L"1440 x 900", {0xA0, 0x05, 0x84, 0x03}},
    {L"1600 x 1200", {0x40, 0x06, 0xB0, 0x04}},
    {L"1680 x 1050", {0x90, 0x06, 0x1A, 0x04}},
    {L"1920 x 1080", {0x80, 0x07, 0x38, 0x04}},
};

// length bytes; seed tells files apart. With the signature, the tool's check passes.
std::vector<uint8_t> Image(uint32_t length, uint8_t seed, bool signature = true);
// The image as the tool leaves it after writing the resolution: each field that lies wholly
// inside the image is replaced, nothing else.
std::vector<uint8_t> Patched(std::vector<uint8_t> image, const Resolution& resolution);

std::vector<uint8_t> FieldsIn(const std::wstring& path);

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
