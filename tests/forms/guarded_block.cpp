#include "guarded_block.h"

#include <windows.h>

#include <cstring>

namespace forms::testing {

GuardedBlock::GuardedBlock(std::span<const uint8_t> bytes)
    : length_(static_cast<uint32_t>(bytes.size())) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const uint32_t page = system.dwPageSize;
  const uint32_t dataPages = (length_ + page - 1) / page;
  reservation_ = VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT,
                              PAGE_READWRITE);
  if (reservation_ == nullptr) return;
  auto* guard = static_cast<uint8_t*>(reservation_) + dataPages * page;
  DWORD previous;
  guarded_ = VirtualProtect(guard, page, PAGE_NOACCESS, &previous) != FALSE;
  data_ = guard - length_;
  std::memcpy(data_, bytes.data(), length_);
}

GuardedBlock::~GuardedBlock() {
  if (reservation_ != nullptr) VirtualFree(reservation_, 0, MEM_RELEASE);
}

}  // namespace forms::testing
