#include "synthetic_executable.h"

#include <cstring>

#include "tool_driver.h"

namespace e2e {

std::vector<uint8_t> ExecutableImage(const uint8_t* signature, uint32_t size) {
  std::vector<uint8_t> image(size);
  for (uint32_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  if (signature != nullptr && size >= kSignatureOffset + 4)
    std::memcpy(&image[kSignatureOffset], signature, 4);
  return image;
}

std::wstring SignatureText(const std::vector<uint8_t>& image) {
  if (image.size() < kSignatureOffset + 4) return L"0";
  int32_t value;
  std::memcpy(&value, &image[kSignatureOffset], sizeof value);
  return std::to_wstring(value);
}

std::vector<uint8_t> Patched(std::vector<uint8_t> image, const Resolution& resolution) {
  if (image.size() >= kWidthOffset + 2) std::memcpy(&image[kWidthOffset], resolution.fields, 2);
  if (image.size() >= kHeightOffset + 2)
    std::memcpy(&image[kHeightOffset], resolution.fields + 2, 2);
  return image;
}

std::vector<uint8_t> FieldBytes(const Resolution& resolution) {
  return {resolution.fields, resolution.fields + 4};
}

std::vector<uint8_t> FieldsIn(const std::wstring& path) {
  std::vector<uint8_t> fields = ReadFileBytes(path, kWidthOffset, 2);
  const std::vector<uint8_t> height = ReadFileBytes(path, kHeightOffset, 2);
  fields.insert(fields.end(), height.begin(), height.end());
  return fields;
}

}  // namespace e2e
