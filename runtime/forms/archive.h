#pragma once
// The runtime's archive encoding, in which form descriptions and component data are stored:
// little-endian 32-bit words, texts and byte runs as a 32-bit length then the bytes, zero-ended
// texts inside unit records, and text lists with a 16-bit count (0xFFFF: a 32-bit count follows).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace forms {

// Reads from a fixed span; every read past the end fails and leaves the reader failed, so a
// caller may read a whole record and check once.
class ArchiveReader {
 public:
  explicit ArchiveReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool U32(uint32_t& value);
  bool I32(int32_t& value);
  bool U16(uint16_t& value);
  bool LenText(std::string& text);
  bool LenBytes(std::vector<uint8_t>& bytes);
  bool ZText(std::string& text);
  bool TextList(std::vector<std::string>& items);
  bool Skip(uint32_t count);
  // The next count bytes, borrowed from the block.
  bool Take(uint32_t count, std::span<const uint8_t>& bytes);

  bool Failed() const { return failed_; }
  uint32_t Position() const { return position_; }
  uint32_t Remaining() const { return static_cast<uint32_t>(bytes_.size()) - position_; }

 private:
  bool Fail() { return !(failed_ = true); }

  std::span<const uint8_t> bytes_;
  uint32_t position_ = 0;
  bool failed_ = false;
};

class ArchiveWriter {
 public:
  void U32(uint32_t value);
  void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
  void U16(uint16_t value);
  void LenText(const std::string& text);
  void LenBytes(std::span<const uint8_t> bytes);
  void ZText(const std::string& text);
  void TextList(const std::vector<std::string>& items);
  void Bytes(std::span<const uint8_t> bytes);
  void Zeros(uint32_t count);

  const std::vector<uint8_t>& Data() const { return data_; }
  std::vector<uint8_t>& Data() { return data_; }

 private:
  std::vector<uint8_t> data_;
};

}  // namespace forms
