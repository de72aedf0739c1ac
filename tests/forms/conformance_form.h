#pragma once
// A form that holds every component type with a value other than its default for every stored
// property: fonts, a bitmap, an icon and a cursor picture, combo items with values, a timer, a
// common dialog of each kind, and a second window that the first loads modally. It is written
// with the tool's own form writer and read by the runtime as the tool's form is.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/forms/form_description.h"

namespace forms::testing::conformance {

inline constexpr uint32_t kMainWindow = 0x52020001;
inline constexpr uint32_t kModalWindow = 0x52020002;

// Units of the main window, in record order after the window's own.
inline constexpr uint32_t kTimer = 0x16020001;
inline constexpr uint32_t kEdit = 0x16020002;
inline constexpr uint32_t kLabel = 0x16020003;
inline constexpr uint32_t kIconButton = 0x16020004;
inline constexpr uint32_t kCursorButton = 0x16020005;
inline constexpr uint32_t kBitmapButton = 0x16020006;
inline constexpr uint32_t kCombo = 0x16020007;
inline constexpr uint32_t kOpenDialog = 0x16020008;
inline constexpr uint32_t kSaveDialog = 0x16020009;
inline constexpr uint32_t kFontDialog = 0x1602000A;
inline constexpr uint32_t kHelpDialog = 0x1602000B;
// The modal window's button.
inline constexpr uint32_t kModalButton = 0x16020101;

// What the form stores, for the tests to compare with.
std::vector<uint8_t> FontData(const char* face, LONG height, LONG weight, LONG escapement = 0);
const app::stored_form::FormDescription& Description();
const app::stored_form::UnitDescription& UnitOf(uint32_t windowId, uint32_t unitId);

// An event a handler of the form saw: the unit (0 for a window's own), the event number and the
// arguments, in the order they came.
struct SeenEvent {
  uint32_t windowId, unitId;
  int32_t number;
  std::vector<uint32_t> arguments;
};
std::vector<SeenEvent>& Seen();
// What the close-event handlers (1 and 12 of each window) answer; unset: no value.
struct CloseAnswer {
  bool returns = false;
  uint32_t value = 0;
};
CloseAnswer& AnswerToClose(int32_t number);

// Installs the runtime, reads the form into its window list (replacing what it held) and returns
// nothing loaded yet.
void ReadIntoRuntime();

}  // namespace forms::testing::conformance
