#pragma once
// A form built in code and the runtime's request channel as a test process has it: the form
// runtime installed, the support libraries' component types found by type code.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/forms/archive.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/form_model.h"

namespace forms::testing {

inline constexpr uint32_t kWindowId = 0x52010001;
inline constexpr uint32_t kWindowUnit = 0x06010000;
inline constexpr uint32_t kWindowType = 0x00010001;
inline constexpr uint32_t kEditBoxType = 0x00010005;
inline constexpr uint32_t kButtonType = 0x0001000B;
inline constexpr uint32_t kComboBoxType = 0x0001000E;

// Installs the form runtime and a request function that answers type look-ups from the support
// libraries; everything else goes to the runtime.
void InstallRuntime();
// Type look-ups of typeCode answer with type instead, until it is substituted again (null gives
// the support libraries' own back).
void SubstituteType(uint32_t typeCode, const ComponentTypeRecord* type);

Unit MakeUnit(uint32_t id, uint32_t typeCode, const char* name, RECT rect, uint32_t flags,
              std::vector<uint8_t> typeData = {}, std::vector<EventBinding> events = {});

std::vector<uint8_t> WindowData(const std::string& title, uint32_t startPosition = 1);
// Kind 1 stores the button as its window's default.
std::vector<uint8_t> ButtonData(const std::string& caption, const std::vector<uint8_t>& picture = {},
                                const std::vector<uint8_t>& font = {}, uint32_t kind = 0);
std::vector<uint8_t> ComboData(uint32_t style, int32_t selection, const std::vector<std::string>& items,
                               uint32_t extraRowHeight = 1);

// Replaces the runtime's window list with this one window and returns it.
WindowTemplate& UseWindow(std::vector<Unit> units);
// Destroys whatever window the list holds and empties it.
void ClearWindows();

}  // namespace forms::testing
