#include "app/conversions.h"

#include <cstring>

#include "app/constants.h"
#include "app/runtime_calls.h"

namespace app {
namespace {

using forms::CommandIndex;

constexpr uint32_t kSupportHex = 1;  // STIF_SUPPORT_HEX: a "0x" prefix reads hex digits
constexpr int32_t kFromFileStart = 1;

// Replaces the variable's text by the concatenation of the parts.
void Assign(rt::Text* variable, std::initializer_list<const char*> parts) {
  rt::Text joined = rt::ConcatTexts(parts);
  Release(*variable);
  *variable = joined;
}

int32_t TextLength(const char* text) { return CallInt(CommandIndex::GetTextLength, {TextArg(text)}); }

// A hex digit's value; anything else counts as 0, so stray characters never carry into a byte.
int32_t DigitValue(int32_t code) {
  if (code >= '0' && code <= '9') return code - '0';
  if (code >= 'a' && code <= 'f') return code - 'a' + 10;
  return 0;
}

}  // namespace

int32_t HexTextToInt(rt::Text* variable) {
  Assign(variable, {kConstants.hexPrefix, *variable});
  int32_t value = 0;
  const uint32_t converted = CallDll(StrToIntExA, {Word(*variable), kSupportHex, Word(&value)});
  return converted == 1 ? value : 0;
}

rt::Text ReadLittleEndianValue(int32_t fileNumber, rt::Text* offsetVariable, int32_t count) {
  if (fileNumber == 0) return const_cast<char*>(kConstants.zeroDigit);
  const int32_t offset = HexTextToInt(offsetVariable);
  Call(CommandIndex::MoveFilePosition, {IntArg(fileNumber), IntArg(kFromFileStart), IntArg(offset)});
  rt::ByteSet bytes = CallByteSet(CommandIndex::ReadBytes, {IntArg(fileNumber), IntArg(count)});

  // Last byte first, two digits each.
  rt::Text hex = nullptr;
  for (int32_t i = CallInt(CommandIndex::GetByteSetLength, {ByteSetArg(bytes)}); i >= 1; --i) {
    rt::Text digits = CallText(CommandIndex::ToHexText, {IntArg(rt::ByteAt(bytes, i))});
    if (TextLength(digits) == 1) Assign(&digits, {kConstants.zeroDigit, digits});
    Assign(&hex, {hex, digits});
    Release(digits);
  }
  const int32_t value = HexTextToInt(&hex);
  Release(hex);
  Release(bytes);
  return CallText(CommandIndex::ToText, {IntArg(value)});
}

rt::Text IntToHexText(int32_t value) { return CallText(CommandIndex::ToHexText, {IntArg(value)}); }

rt::Text NumberTextToLittleEndianHex(rt::Text* valueVariable, int32_t count) {
  rt::Text asText = CallText(CommandIndex::ToText, {TextArg(*valueVariable)});
  const bool empty = TextLength(asText) == 0;
  Release(asText);
  if (empty) return nullptr;

  rt::Text hex =
      IntToHexText(CallInt(CommandIndex::ToInteger, {TextArg(*valueVariable)}));
  while (static_cast<double>(TextLength(hex)) - 2.0 * count < -0.0000001)
    Assign(&hex, {kConstants.zeroDigit, hex});

  rt::Text result = rt::ConcatTexts({});
  const int32_t length = TextLength(hex);
  for (int32_t i = 0; i < count; ++i) {
    rt::Text pair =
        CallText(CommandIndex::MidText, {TextArg(hex), IntArg(length - 2 * i - 1), IntArg(2)});
    Assign(&result, {result, pair});
    Release(pair);
  }
  Release(hex);
  return result;
}

rt::ByteSet HexTextToByteSet(rt::Text* hexVariable) {
  rt::ByteSet bytes = nullptr;
  const int32_t length = TextLength(*hexVariable);
  for (int32_t p = 1; p <= length; p += 2) {
    rt::Text pair = CallText(CommandIndex::MidText, {TextArg(*hexVariable), IntArg(p), IntArg(2)});
    rt::Text lower = CallText(CommandIndex::ToLowerCase, {TextArg(pair)});
    Release(pair);

    // From the rightmost digit leftwards, each worth 16 times the one after it.
    int32_t value = 0;
    int32_t weight = 1;
    for (int32_t d = TextLength(lower); d >= 1; --d, weight *= 16)
      value += DigitValue(CallInt(CommandIndex::GetCharCode, {TextArg(lower), IntArg(d)})) * weight;
    Release(lower);

    rt::ByteSet whole = CallByteSet(CommandIndex::ToByteSet, {IntArg(value)});
    rt::ByteSet low = CallByteSet(CommandIndex::LeftBytes, {ByteSetArg(whole), IntArg(1)});
    rt::ByteSet longer = ConcatByteSets({bytes, low});
    Release(whole);
    Release(low);
    Release(bytes);
    bytes = longer;
  }
  return bytes;
}

rt::ByteSet ConcatByteSets(std::initializer_list<const rt::ByteSetHeader*> parts) {
  uint64_t sum = 0;
  for (const rt::ByteSetHeader* part : parts) sum += rt::ByteSetLength(part);
  if (sum == 0) return nullptr;

  // A block size beyond 32 bits is asked for as the largest one, which no heap grants: the
  // allocation error, never a wrapped short block that the copy below would overrun.
  const uint64_t size = sizeof(rt::ByteSetHeader) + sum;
  auto* joined = static_cast<rt::ByteSet>(
      services.Allocate(size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size)));
  const auto total = static_cast<uint32_t>(sum);
  *joined = {1, total};
  uint8_t* out = rt::ByteSetData(joined);
  for (const rt::ByteSetHeader* part : parts) {
    const uint32_t n = rt::ByteSetLength(part);
    if (n != 0) std::memcpy(out, rt::ByteSetData(part), n);
    out += n;
  }
  return joined;
}

}  // namespace app
