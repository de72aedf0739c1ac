#include "runtime/forms/display_scale.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace forms {
namespace {

int32_t Rescale(int32_t value, int32_t to, int32_t from) {
  if (to == from || from <= 0) return value;
  const int64_t product = int64_t{value} * to;
  const int64_t half = from / 2;
  return static_cast<int32_t>(product >= 0 ? (product + half) / from : (product - half) / from);
}

}  // namespace

int32_t DisplayDpi() {
  // Read on first use and kept (0: not read yet). Two threads that both read it first get the
  // same answer and store the same value.
  static constinit std::atomic<int32_t> dpi = 0;
  int32_t known = dpi.load();
  if (known == 0) {
    const HDC screen = GetDC(nullptr);
    const int32_t found = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    known = found > 0 ? found : kStoredDpi;
    dpi.store(known);
  }
  return known;
}

int32_t ToDisplay(int32_t stored, int32_t dpi) { return Rescale(stored, dpi, kStoredDpi); }
int32_t ToStored(int32_t pixels, int32_t dpi) { return Rescale(pixels, kStoredDpi, dpi); }

int32_t ToDisplayCoordinate(int32_t stored, int32_t dpi) {
  return std::clamp(ToDisplay(stored, dpi), -kCoordinateLimit, kCoordinateLimit);
}

int32_t ToDisplayFormCoordinate(int32_t stored, int32_t dpi) {
  return dpi == kStoredDpi ? stored : ToDisplayCoordinate(stored, dpi);
}

}  // namespace forms
