#pragma once
// The mouse-pointer property (7) of every unit: its data names a pointer shape in the
// application's numbering, and the unit's window shows that pointer over its client area.

#include <windows.h>

#include <cstdint>
#include <span>

namespace forms {

// The system pointer that the data's first word names; null for the standard arrow (data shorter
// than 4 bytes, shape 0, or a shape it does not know). System pointers are shared: never
// destroyed.
HCURSOR PointerFromData(std::span<const uint8_t> data);

// Answers WM_SETCURSOR for a unit's native window: over its client area (its own, or that of a
// child window that neither is nor lies inside another component) the unit's pointer is set. False when the unit
// has no pointer of its own, so that the system's default handling runs.
bool SetUnitPointer(HWND window, uint32_t windowId, uint32_t unitId, WPARAM wParam, LPARAM lParam);

}  // namespace forms
