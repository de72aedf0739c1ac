#pragma once
// The stored form is laid out in pixels of a 96-DPI display. On a display scaled to another DPI
// the system's fonts grow with it, so what the runtime makes from the form grows by the same
// factor: stored units go to the display on the way in and come back on the way out.

#include <cstdint>

namespace forms {

inline constexpr int32_t kStoredDpi = 96;
// The largest coordinate or size a unit may take: a window's position and size must stay inside
// 16 bits, in stored units and, on a larger display, in pixels too.
inline constexpr int32_t kCoordinateLimit = 32627;

// The system's DPI, read once: a system-aware process keeps it for its whole life.
int32_t DisplayDpi();

// A stored length or position in pixels of a display at dpi, rounded half away from zero.
int32_t ToDisplay(int32_t stored, int32_t dpi);
// Pixels of a display at dpi back in stored units, rounded the same way.
int32_t ToStored(int32_t pixels, int32_t dpi);

// A stored coordinate in pixels of a display at dpi, kept within the coordinate limit.
int32_t ToDisplayCoordinate(int32_t stored, int32_t dpi);
// A coordinate as the stored form holds it, in pixels of a display at dpi: kept within the limit
// where scaling changes it, as a written one is; at the stored DPI given as it is, since a form
// may hold what no write would store and the window has always been given that.
int32_t ToDisplayFormCoordinate(int32_t stored, int32_t dpi);

// The same at the system's DPI.
inline int32_t ToDisplay(int32_t stored) { return ToDisplay(stored, DisplayDpi()); }
inline int32_t ToDisplayCoordinate(int32_t stored) { return ToDisplayCoordinate(stored, DisplayDpi()); }
inline int32_t ToDisplayFormCoordinate(int32_t stored) { return ToDisplayFormCoordinate(stored, DisplayDpi()); }
inline int32_t ToStored(int32_t pixels) { return ToStored(pixels, DisplayDpi()); }

}  // namespace forms
