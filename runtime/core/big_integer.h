#pragma once
// An unsigned integer of up to 4,096 bits, for the exact digits of a binary floating-point
// number (number_text.cpp). Its operands stay well inside the capacity: the largest, for the
// smallest denormal double, is about 1,080 bits. Nothing here allocates.

#include <cstdint>

namespace rt {

class BigInteger {
 public:
  explicit BigInteger(uint64_t value = 0);

  void Multiply(uint32_t factor);
  void Add(uint32_t value);
  void MultiplyByPowerOfFive(int exponent);
  void MultiplyByPowerOfTen(int exponent);
  void ShiftLeft(int bits);
  void ShiftRightByOne();
  // The other must not be larger.
  void Subtract(const BigInteger& other);

  int BitLength() const;
  bool IsZero() const { return used_ == 0; }

  // Below 0, 0 or above 0 as a is below, equal to or above b.
  friend int Compare(const BigInteger& a, const BigInteger& b);

 private:
  static constexpr int kWords = 128;

  void Trim();

  uint32_t words_[kWords] = {};  // least significant first; those from used_ on are 0
  int used_ = 0;
};

}  // namespace rt
