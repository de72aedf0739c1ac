// The main window's own handlers: filling it when it has loaded, and loading the executable.

#include "app/constants.h"
#include "app/forms/main_form_ids.h"
#include "app/handlers.h"
#include "app/program.h"
#include "app/runtime_calls.h"

namespace app {

int32_t ExecutableFileNumber = 0;

namespace {

using forms::CommandIndex;

constexpr forms::HandlerResult kNoResult = {0, false};
constexpr int32_t kReadWrite = 3;
constexpr int32_t kShareAll = 1;

}  // namespace

forms::HandlerResult InitialiseMainForm(const uint32_t*, uint32_t) {
  WriteTextProperty(unit::CommonDialog1, property::DialogFilter, kConstants.dialogFilter);
  // The list is unsorted: "1440 x 900" from the stored form stays first, and selected.
  for (const char* item : {kConstants.resolution1600, kConstants.resolution1680,
                           kConstants.resolution1920})
    Call(CommandIndex::AddItem, {ComponentArg(unit::ComboBox1, type_code::ComboBox),
                                 TextArg(item)});
  return kNoResult;
}

forms::HandlerResult OpenExecutable(const uint32_t*, uint32_t) {
  if (!CallBool(CommandIndex::OpenDialog,
                {ComponentArg(unit::CommonDialog1, type_code::CommonDialog)}))
    return kNoResult;
  rt::Text path = ReadTextProperty(unit::CommonDialog1, property::DialogFileName);
  // A file opened by an earlier click stays open and is forgotten; the runtime closes it at exit.
  ExecutableFileNumber =
      CallInt(CommandIndex::OpenFile, {TextArg(path), IntArg(kReadWrite), IntArg(kShareAll)});
  Release(path);
  return kNoResult;
}

}  // namespace app
