#pragma once
// Executables made for the tool to work on: the real size, a byte pattern in which every byte
// differs from its neighbours (so a byte written in the wrong place shows), the signature of the
// director's cut or another one.

#include <cstdint>
#include <string>
#include <vector>

#include "executable_layout.h"

namespace e2e {

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

// The image as the tool leaves it after writing the resolution: each field that lies wholly
// inside the image is replaced, nothing else.
std::vector<uint8_t> Patched(std::vector<uint8_t> image, const Resolution& resolution);
std::vector<uint8_t> FieldBytes(const Resolution& resolution);
// The four bytes of the two fields in the file as it is now, width first.
std::vector<uint8_t> FieldsIn(const std::wstring& path);

}  // namespace e2e
