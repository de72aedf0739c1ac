#pragma once
// The offsets under which the form description stores each handler. They name a handler only
// through the handler table, so any distinct values serve; 0xFFFFFFFF is reserved for "none".

#include <cstdint>

namespace app::handler_offset {

inline constexpr uint32_t InitialiseMainForm = 0x00000010;
inline constexpr uint32_t CheckSignatureTick = 0x000001A0;
inline constexpr uint32_t ApplyResolution = 0x00000330;
inline constexpr uint32_t ReadSignature = 0x000004C0;
inline constexpr uint32_t OpenExecutable = 0x00000650;

}  // namespace app::handler_offset
