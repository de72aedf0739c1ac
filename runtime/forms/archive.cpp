#include "runtime/forms/archive.h"

#include <cstring>

namespace forms {

bool ArchiveReader::Take(uint32_t count, std::span<const uint8_t>& bytes) {
  if (failed_ || count > Remaining()) return Fail();
  bytes = bytes_.subspan(position_, count);
  position_ += count;
  return true;
}

bool ArchiveReader::Skip(uint32_t count) {
  std::span<const uint8_t> ignored;
  return Take(count, ignored);
}

bool ArchiveReader::U32(uint32_t& value) {
  std::span<const uint8_t> b;
  if (!Take(4, b)) return false;
  value = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
  return true;
}

bool ArchiveReader::I32(int32_t& value) {
  uint32_t word = 0;
  if (!U32(word)) return false;
  value = static_cast<int32_t>(word);
  return true;
}

bool ArchiveReader::U16(uint16_t& value) {
  std::span<const uint8_t> b;
  if (!Take(2, b)) return false;
  value = static_cast<uint16_t>(b[0] | b[1] << 8);
  return true;
}

bool ArchiveReader::LenText(std::string& text) {
  uint32_t length = 0;
  std::span<const uint8_t> b;
  if (!U32(length) || !Take(length, b)) return false;
  text.assign(b.begin(), b.end());
  return true;
}

bool ArchiveReader::LenBytes(std::vector<uint8_t>& bytes) {
  uint32_t length = 0;
  std::span<const uint8_t> b;
  if (!U32(length) || !Take(length, b)) return false;
  bytes.assign(b.begin(), b.end());
  return true;
}

bool ArchiveReader::ZText(std::string& text) {
  if (failed_) return false;
  const uint8_t* start = bytes_.data() + position_;
  const void* end = std::memchr(start, 0, Remaining());
  if (end == nullptr) return Fail();
  const uint32_t length = static_cast<uint32_t>(static_cast<const uint8_t*>(end) - start);
  text.assign(reinterpret_cast<const char*>(start), length);
  position_ += length + 1;
  return true;
}

bool ArchiveReader::TextList(std::vector<std::string>& items) {
  uint16_t shortCount = 0;
  uint32_t count = 0;
  if (!U16(shortCount)) return false;
  count = shortCount;
  if (shortCount == 0xFFFF && !U32(count)) return false;
  // Every item takes at least its 4-byte length: a count beyond that is a damaged list, not a
  // reason to reserve memory for it.
  if (count > Remaining() / 4) return Fail();
  items.assign(count, std::string());
  for (std::string& item : items)
    if (!LenText(item)) return false;
  return true;
}

void ArchiveWriter::U32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) data_.push_back(static_cast<uint8_t>(value >> shift));
}

void ArchiveWriter::U16(uint16_t value) {
  data_.push_back(static_cast<uint8_t>(value));
  data_.push_back(static_cast<uint8_t>(value >> 8));
}

void ArchiveWriter::Bytes(std::span<const uint8_t> bytes) {
  data_.insert(data_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::Zeros(uint32_t count) { data_.insert(data_.end(), count, 0); }

void ArchiveWriter::LenText(const std::string& text) {
  U32(static_cast<uint32_t>(text.size()));
  Bytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

void ArchiveWriter::LenBytes(std::span<const uint8_t> bytes) {
  U32(static_cast<uint32_t>(bytes.size()));
  Bytes(bytes);
}

void ArchiveWriter::ZText(const std::string& text) {
  Bytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  data_.push_back(0);
}

void ArchiveWriter::TextList(const std::vector<std::string>& items) {
  if (items.size() < 0xFFFF) {
    U16(static_cast<uint16_t>(items.size()));
  } else {
    U16(0xFFFF);
    U32(static_cast<uint32_t>(items.size()));
  }
  for (const std::string& item : items) LenText(item);
}

}  // namespace forms
