#pragma once
// Calling built-in commands as application code does: argument records through the service
// table's CallCommand row, then the result taken over and freed. Text and byte-set results come
// back as optionals, nullopt standing for null.

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "runtime/core/commands.h"
#include "runtime/core/memory.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/service_table.h"
#include "runtime/core/values.h"

namespace rt::command_test {

using Bytes = std::vector<uint8_t>;

inline ArgumentRecord IntArg(int32_t value) { return {static_cast<uint32_t>(value), 0, tag::Int}; }
inline ArgumentRecord DoubleArg(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), tag::Double};
}
inline ArgumentRecord TextArg(const char* text) {
  return {reinterpret_cast<uint32_t>(text), 0, tag::Text};
}
inline ArgumentRecord Omitted() { return {0, 0, 0}; }

// A byte set as application code passes one: the header {1, n}, then the bytes.
class ByteSetValue {
 public:
  explicit ByteSetValue(const Bytes& bytes) : words_(2 + (bytes.size() + 3) / 4) {
    words_[0] = 1;
    words_[1] = static_cast<uint32_t>(bytes.size());
    if (!bytes.empty()) std::memcpy(&words_[2], bytes.data(), bytes.size());
  }
  ArgumentRecord Arg() const {
    return {reinterpret_cast<uint32_t>(words_.data()), 0, tag::ByteSet};
  }

 private:
  std::vector<uint32_t> words_;
};

inline ResultRecord Call(Command command, std::vector<ArgumentRecord> args) {
  return RuntimeServices.CallCommand(command, static_cast<int32_t>(args.size()), args.data());
}

inline std::optional<std::string> Opt(const char* text) {
  return text ? std::optional<std::string>(text) : std::nullopt;
}

// Takes over a text result. The runtime never makes an empty text block: empty is null.
inline std::optional<std::string> TakeText(const ResultRecord& result) {
  EXPECT_EQ(result.tag, tag::Text);
  auto* text = reinterpret_cast<char*>(result.low);
  if (text == nullptr) return std::nullopt;
  std::string copy(text);
  Free(text);
  EXPECT_FALSE(copy.empty()) << "an empty text must be null";
  return copy;
}

// Takes over a byte-set result, checking its header; an empty byte set must be null.
inline std::optional<Bytes> TakeBytes(const ResultRecord& result) {
  EXPECT_EQ(result.tag, tag::ByteSet);
  auto* bytes = reinterpret_cast<ByteSet>(result.low);
  if (bytes == nullptr) return std::nullopt;
  EXPECT_EQ(bytes->dimensions, 1u);
  EXPECT_NE(bytes->length, 0u) << "an empty byte set must be null";
  Bytes copy(ByteSetData(bytes), ByteSetData(bytes) + bytes->length);
  Free(bytes);
  return copy;
}

inline int32_t IntResult(const ResultRecord& result) {
  EXPECT_EQ(result.tag, tag::Int);
  EXPECT_EQ(result.high, 0u);
  return static_cast<int32_t>(result.low);
}

inline bool BoolResult(const ResultRecord& result) {
  EXPECT_EQ(result.tag, tag::Bool);
  EXPECT_TRUE(result.low == 0 || result.low == 1) << result.low;
  return result.low != 0;
}

inline double DoubleResult(const ResultRecord& result) {
  EXPECT_EQ(result.tag, tag::Double);
  const uint64_t bits = static_cast<uint64_t>(result.high) << 32 | result.low;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Commands reach the runtime core through the library request channel, as they do in the
// running application.
class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override { KeepRequestFunction(&RuntimeRequest); }
  void TearDown() override { KeepRequestFunction(nullptr); }
};

}  // namespace rt::command_test
