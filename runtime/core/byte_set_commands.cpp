// Commands on byte sets. Arguments are lent; every result is a new byte set, null when empty.

#include <cstring>

#include "runtime/core/command_arguments.h"
#include "runtime/core/commands.h"
#include "runtime/core/memory.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

int64_t Clamp(int64_t value, int64_t low, int64_t high) {
  return value < low ? low : value > high ? high : value;
}

}  // namespace

void GetByteSetLength(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnInt(result, static_cast<int32_t>(args.Bytes(0).length));
}

void MakeBlankByteSet(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  const int32_t length = args.Int(0);
  ReturnByteSet(result, nullptr);
  if (length < 1) return;
  const auto n = static_cast<uint32_t>(length);
  auto* bytes = static_cast<ByteSet>(Allocate(n + sizeof(ByteSetHeader)));
  *bytes = {1, n};
  std::memset(ByteSetData(bytes), 0, n);  // heap blocks come uncleared
  ReturnByteSet(result, bytes);
}

void ReplaceBytes(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  const ByteSpan data = args.Bytes(0);
  const int64_t n = data.length;
  const int64_t index = Clamp(static_cast<int64_t>(args.Int(1)) - 1, 0, n);
  const int64_t removed = Clamp(args.Int(2), 0, n - index);
  // An omitted replacement deletes the run; a present one, of any length, takes its place.
  const ByteSpan replacement = args.Bytes(3);

  const int64_t size = n - removed + replacement.length;
  ReturnByteSet(result, nullptr);
  if (size == 0) return;
  auto* bytes = static_cast<ByteSet>(AllocateSized(static_cast<uint64_t>(size) + sizeof(ByteSetHeader)));
  *bytes = {1, static_cast<uint32_t>(size)};
  uint8_t* out = ByteSetData(bytes);
  const auto append = [&out](const uint8_t* from, int64_t length) {
    if (length > 0) std::memcpy(out, from, static_cast<size_t>(length));
    out += length;
  };
  append(data.data, index);
  append(replacement.data, replacement.length);
  append(data.data + index + removed, n - index - removed);
  ReturnByteSet(result, bytes);
}

void LeftBytes(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  const ByteSpan data = args.Bytes(0);
  const int32_t wanted = args.Int(1);
  ReturnByteSet(result, nullptr);
  if (wanted < 1) return;
  const uint32_t n = static_cast<uint32_t>(wanted) < data.length ? static_cast<uint32_t>(wanted)
                                                                 : data.length;
  ReturnByteSet(result, MakeByteSet(data.data, n));
}

}  // namespace rt

