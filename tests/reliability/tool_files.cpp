#include "tool_files.h"

#include <cstring>

#include "tool_driver.h"

namespace reliability {
namespace {

uint8_t ImageByte(uint64_t offset, uint8_t seed) { return static_cast<uint8_t>(offset * 7 + seed); }

struct Region {
  uint64_t start, length;
};

// Where the tool reads or would write, and both ends of the file.
std::vector<Region> MarkedRegions(uint64_t length) {
  constexpr uint64_t kEnd = 0x10000;
  return {{0, kEnd}, {kSignatureOffset - 0x20, 0x40}, {kWidthOffset - 0x74, 0x100},
          {length - kEnd, kEnd}};
}

bool MoveTo(HANDLE file, uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

}  // namespace

std::vector<uint8_t> Image(uint32_t length, uint8_t seed, bool signature) {
  std::vector<uint8_t> image(length);
  for (uint32_t i = 0; i < length; ++i) image[i] = ImageByte(i, seed);
  const uint8_t dire[] = {0x44, 0x69, 0x72, 0x65};
  for (uint32_t i = 0; signature && i < 4 && kSignatureOffset + i < length; ++i)
    image[kSignatureOffset + i] = dire[i];
  return image;
}

bool MakeSparseFile(const std::wstring& path, uint64_t length, uint8_t seed) {
  HANDLE file = e2e::OpenShared(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Wine's files are the host's: setting the end leaves a hole, which the host keeps sparse.
  bool ok = MoveTo(file, length) && SetEndOfFile(file);
  for (const Region& r : MarkedRegions(length)) {
    std::vector<uint8_t> bytes(r.length);
    for (uint64_t i = 0; i < r.length; ++i) bytes[i] = ImageByte(r.start + i, seed);
    if (r.start <= kSignatureOffset && kSignatureOffset + 4 <= r.start + r.length)
      std::memcpy(&bytes[kSignatureOffset - r.start], "Dire", 4);
    DWORD written = 0;
    ok = ok && MoveTo(file, r.start) &&
         WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
  }
  CloseHandle(file);
  return ok;
}

SparseState StateOf(const std::wstring& path) {
  SparseState state;
  HANDLE file = e2e::OpenShared(path, GENERIC_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return state;
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  state.length = static_cast<uint64_t>(size.QuadPart);
  FILETIME created, accessed;
  GetFileTime(file, &created, &accessed, &state.written);
  for (const Region& r : MarkedRegions(state.length)) {
    std::vector<uint8_t> bytes(r.length);
    DWORD read = 0;
    if (!MoveTo(file, r.start) ||
        !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
      read = 0;
    state.marked.insert(state.marked.end(), bytes.begin(), bytes.begin() + read);
  }
  CloseHandle(file);
  return state;
}

bool operator==(const SparseState& a, const SparseState& b) {
  return a.length == b.length && CompareFileTime(&a.written, &b.written) == 0 &&
         a.marked == b.marked;
}

}  // namespace reliability
