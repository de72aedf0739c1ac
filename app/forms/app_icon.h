#pragma once
// The tool's icon: a monitor with a two-headed diagonal arrow, for "change the resolution".
// One 32 x 32 image of 256 colours in an icon file; the window shows it and the executable
// carries it as its own icon.

#include <cstdint>
#include <vector>

namespace app::stored_form {

inline constexpr uint32_t kAppIconFileSize = 2238;

std::vector<uint8_t> AppIcon();

}  // namespace app::stored_form
