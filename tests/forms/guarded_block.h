#pragma once
// A copy of a block that ends exactly where an inaccessible page begins: a read one byte past
// its end faults at once instead of reading whatever happens to follow it in memory.

#include <cstdint>
#include <span>

namespace forms::testing {

class GuardedBlock {
 public:
  explicit GuardedBlock(std::span<const uint8_t> bytes);
  ~GuardedBlock();
  GuardedBlock(const GuardedBlock&) = delete;
  GuardedBlock& operator=(const GuardedBlock&) = delete;

  bool Guarded() const { return guarded_; }
  uint8_t* Data() const { return data_; }
  uint32_t Length() const { return length_; }

 private:
  void* reservation_ = nullptr;
  uint8_t* data_ = nullptr;
  uint32_t length_ = 0;
  bool guarded_ = false;
};

}  // namespace forms::testing
