#pragma once
// Loading a window: its own unit and every component created from the stored form, in the
// order, z-order and with the identifiers the form implies, events held back until all exist.

#include <windows.h>

#include <cstdint>

#include "runtime/forms/form_model.h"

namespace forms {

// Mode 0 brings an already loaded window to the front instead of loading it again and keeps the
// stored visibility; other modes always show the window. False when the load fails.
bool LoadWindow(WindowTemplate& window, int32_t mode, bool modal, HWND parent);

// The first control identifier, and the step between two.
inline constexpr UINT kFirstControlId = 100;
inline constexpr UINT kControlIdStep = 10;

}  // namespace forms
