#include "runtime/core/big_integer.h"

namespace rt {

BigInteger::BigInteger(uint64_t value) {
  words_[0] = static_cast<uint32_t>(value);
  words_[1] = static_cast<uint32_t>(value >> 32);
  used_ = 2;
  Trim();
}

void BigInteger::Trim() {
  while (used_ > 0 && words_[used_ - 1] == 0) --used_;
}

void BigInteger::Multiply(uint32_t factor) {
  uint64_t carry = 0;
  for (int i = 0; i < used_; ++i) {
    const uint64_t product = uint64_t{words_[i]} * factor + carry;
    words_[i] = static_cast<uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) words_[used_++] = static_cast<uint32_t>(carry);
  Trim();
}

void BigInteger::Add(uint32_t value) {
  uint64_t carry = value;
  for (int i = 0; carry != 0; ++i) {
    const uint64_t sum = uint64_t{words_[i]} + carry;
    words_[i] = static_cast<uint32_t>(sum);
    carry = sum >> 32;
    if (i >= used_) used_ = i + 1;
  }
}

void BigInteger::MultiplyByPowerOfFive(int exponent) {
  constexpr uint32_t kFiveToThe13 = 1220703125;  // the largest power of five in 32 bits
  for (; exponent >= 13; exponent -= 13) Multiply(kFiveToThe13);
  uint32_t rest = 1;
  for (; exponent > 0; --exponent) rest *= 5;
  Multiply(rest);
}

void BigInteger::MultiplyByPowerOfTen(int exponent) {
  MultiplyByPowerOfFive(exponent);
  ShiftLeft(exponent);
}

void BigInteger::ShiftLeft(int bits) {
  if (used_ == 0 || bits == 0) return;
  const int wordShift = bits / 32;
  const int bitShift = bits % 32;
  int top = used_ + wordShift;
  words_[top] = 0;
  for (int i = used_ - 1; i >= 0; --i) {
    if (bitShift != 0) words_[i + wordShift + 1] |= words_[i] >> (32 - bitShift);
    words_[i + wordShift] = words_[i] << bitShift;
  }
  for (int i = 0; i < wordShift; ++i) words_[i] = 0;
  used_ = top + 1;
  Trim();
}

void BigInteger::ShiftRightByOne() {
  for (int i = 0; i < used_; ++i)
    words_[i] = (words_[i] >> 1) | (i + 1 < used_ ? words_[i + 1] << 31 : 0);
  Trim();
}

void BigInteger::Subtract(const BigInteger& other) {
  uint32_t borrow = 0;
  for (int i = 0; i < used_; ++i) {
    const uint64_t taken = uint64_t{i < other.used_ ? other.words_[i] : 0} + borrow;
    borrow = words_[i] < taken ? 1 : 0;
    words_[i] = static_cast<uint32_t>(words_[i] - taken);
  }
  Trim();
}

int BigInteger::BitLength() const {
  if (used_ == 0) return 0;
  return (used_ - 1) * 32 + (32 - __builtin_clz(words_[used_ - 1]));
}

int Compare(const BigInteger& a, const BigInteger& b) {
  if (a.used_ != b.used_) return a.used_ < b.used_ ? -1 : 1;
  for (int i = a.used_ - 1; i >= 0; --i)
    if (a.words_[i] != b.words_[i]) return a.words_[i] < b.words_[i] ? -1 : 1;
  return 0;
}

}  // namespace rt
