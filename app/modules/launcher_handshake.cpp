#include "app/modules/launcher_handshake.h"

#include "app/constants.h"
#include "app/runtime_calls.h"

namespace app {
namespace {

using forms::CommandIndex;

constexpr uint32_t kReadWriteAccess = 6;  // FILE_MAP_READ | FILE_MAP_WRITE
constexpr int32_t kSuffixBytes = 4;

bool RunsFromTemporaryCopy() {
  rt::Text name = CallText(CommandIndex::GetExecutableName, {});
  rt::Text suffix = CallText(CommandIndex::RightText, {TextArg(name), IntArg(kSuffixBytes)});
  rt::Text lower = CallText(CommandIndex::ToLowerCase, {TextArg(suffix)});
  const bool temporary = rt::CompareTexts(lower, kConstants.temporarySuffix) == 0;
  Release(lower);
  Release(suffix);
  Release(name);
  return temporary;
}

}  // namespace

int32_t LauncherHandshake() {
  if (!RunsFromTemporaryCopy()) return 0;

  // The launcher names its section with the marker word in full-width characters.
  rt::Text sectionName = CallText(CommandIndex::ToFullWidth, {TextArg(kConstants.launcherMarker)});
  const uint32_t section = CallDll(OpenFileMappingA, {kReadWriteAccess, 0, Word(sectionName)});
  Release(sectionName);
  if (section == 0) return 0;  // no launcher waits: nothing to signal

  // The view stays mapped, and so keeps the section alive, until the process ends.
  const uint32_t view = CallDll(MapViewOfFile, {section, kReadWriteAccess, 0, 0, 0});
  if (view != 0)
    CallDll(RtlMoveMemory, {view, Word(kConstants.launcherSignal.bytes),
                            kConstants.launcherSignal.length});
  CallDll(CloseSectionHandle, {section});
  return 0;
}

}  // namespace app
