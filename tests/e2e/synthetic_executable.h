#pragma once
// Executables made for the tool to work on: the real size, a byte pattern in which every byte
// differs from its neighbours (so a byte written in the wrong place shows), the signature of the
// director's cut or another one, and the resolution rows with the bytes each one writes.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

inline constexpr uint32_t kImageSize = 0x4A1480;
inline constexpr uint32_t kSignatureOffset = 0x3AC220;
inline constexpr uint32_t kWidthOffset = 0x4A1474;
inline constexpr uint32_t kHeightOffset = 0x4A1478;

// "Dire": the director's cut, as the signature box shows it.
inline constexpr uint8_t kDirectorsCutSignature[4] = {0x44, 0x69, 0x72, 0x65};
inline constexpr wchar_t kDirectorsCutValue[] = L"1701996868";

// An image of the real size; with the given four bytes at the signature's offset when given.
std::vector<uint8_t> ExecutableImage(const uint8_t* signature = nullptr,
                                     uint32_t size = kImageSize);
inline std::vector<uint8_t> DirectorsCut() { return ExecutableImage(kDirectorsCutSignature); }

// The signature field as the tool shows it: a signed little-endian number, "0" when the file
// ends before it.
std::wstring SignatureText(const std::vector<uint8_t>& image);

struct Resolution {
  const wchar_t* item;
  uint8_t fields[4];  // width at kWidthOffset, then height at kHeightOffset
};

// How a failed test names the row.
inline void PrintTo(const Resolution& resolution, std::ostream* out) {
  for (const wchar_t* ch = resolution.item; *ch; ++ch) *out << static_cast<char>(*ch);
}

// In the list's order; the first is preselected.
inline constexpr Resolution kResolutions[] = {
    {L"1440 x 900", {0xA0, 0x05, 0x84, 0x03}},
    {L"1600 x 1200", {0x40, 0x06, 0xB0, 0x04}},
    {L"1680 x 1050", {0x90, 0x06, 0x1A, 0x04}},
    {L"1920 x 1080", {0x80, 0x07, 0x38, 0x04}},
};

// The image as the tool leaves it after writing the resolution: the two fields, nothing else.
std::vector<uint8_t> Patched(std::vector<uint8_t> image, const Resolution& resolution);
std::vector<uint8_t> FieldBytes(const Resolution& resolution);
// The four bytes of the two fields in the file as it is now, width first.
std::vector<uint8_t> FieldsIn(const std::wstring& path);

}  // namespace e2e
