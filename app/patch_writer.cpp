#include "app/patch_writer.h"

#include "app/constants.h"
#include "app/conversions.h"
#include "app/forms/main_form_ids.h"
#include "app/handlers.h"
#include "app/program.h"
#include "app/runtime_calls.h"

namespace app {
namespace {

using forms::CommandIndex;

struct Resolution {
  const char* listText;
  const char* width;
  const char* height;
};

// In the order of the list.
const Resolution kResolutionTable[] = {
    {kConstants.resolution1440, kConstants.width1440, kConstants.height900},
    {kConstants.resolution1600, kConstants.width1600, kConstants.height1200},
    {kConstants.resolution1680, kConstants.width1680, kConstants.height1050},
    {kConstants.resolution1920, kConstants.width1920, kConstants.height1080},
};

constexpr int32_t kFieldBytes = 2;

void PatchFieldFromConstants(const char* offset, const char* value) {
  rt::Text offsetVariable = TextVariable(offset);
  rt::Text valueVariable = TextVariable(value);
  PatchField(ExecutableFileNumber, &offsetVariable, &valueVariable, kFieldBytes);
  Release(offsetVariable);
  Release(valueVariable);
}

}  // namespace

forms::HandlerResult ApplyResolution(const uint32_t*, uint32_t) {
  // Each row is tested on its own; at most one matches.
  for (const Resolution& row : kResolutionTable) {
    rt::Text chosen = ReadTextProperty(unit::ComboBox1, property::ComboContent);
    const bool match = rt::CompareTexts(chosen, row.listText) == 0;
    Release(chosen);
    if (!match) continue;
    PatchFieldFromConstants(kConstants.widthOffset, row.width);
    PatchFieldFromConstants(kConstants.heightOffset, row.height);
  }
  return {0, false};
}

bool PatchField(int32_t fileNumber, rt::Text* offsetVariable, rt::Text* valueVariable,
                int32_t byteCount) {
  if (fileNumber == 0) return false;
  Call(CommandIndex::MoveToFileStart, {IntArg(fileNumber)});
  const int32_t size = CallInt(CommandIndex::GetFileLength, {IntArg(fileNumber)});
  rt::ByteSet content = CallByteSet(CommandIndex::ReadBytes, {IntArg(fileNumber), IntArg(size)});

  // Written back, a short read would cut the file or shift its content.
  const bool whole = CallInt(CommandIndex::GetByteSetLength, {ByteSetArg(content)}) == size;
  if (!whole || static_cast<int64_t>(byteCount) > static_cast<int64_t>(size) ||
      CallInt(CommandIndex::GetTextLength, {TextArg(*valueVariable)}) == 0) {
    Release(content);
    return false;
  }

  rt::Text hex = NumberTextToLittleEndianHex(valueVariable, byteCount);
  const int32_t position = HexTextToInt(offsetVariable);
  const auto start = static_cast<int32_t>(rt::TruncateToInt64(position + 1.0));
  rt::ByteSet patch = HexTextToByteSet(&hex);

  // A field that does not lie wholly inside the file would be appended to it instead.
  bool written = false;
  if (position >= 0 && static_cast<int64_t>(position) + byteCount <= size) {
    rt::ByteSet patched = CallByteSet(CommandIndex::ReplaceBytes,
                                      {ByteSetArg(content), IntArg(start), IntArg(byteCount),
                                       ByteSetArg(patch)});
    // Written anywhere but from the start, the whole image would grow the file.
    if (CallBool(CommandIndex::MoveToFileStart, {IntArg(fileNumber)}))
      written = CallBool(CommandIndex::WriteBytes, {IntArg(fileNumber), ByteSetArg(patched)});
    Release(patched);
  }
  Release(content);
  Release(hex);
  Release(patch);
  return written;
}

}  // namespace app
