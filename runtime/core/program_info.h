#pragma once
// What the application image tells the runtime about itself.

#include <cstdint>

#include "runtime/core/support_library.h"

namespace rt {

// Thirteen 32-bit words, in this order.
struct ProgramInfoBlock {
  uint32_t runMode;
  uint32_t optionWord;
  uint32_t buildNumber;  // stored by the runtime increased by 1
  const void* codeBase;  // what the stored event-handler offsets are bound against
  const void* constantStart;
  uint32_t constantLength;
  const uint8_t* formData;
  uint32_t formDataLength;
  uint32_t libraryCount;
  const SupportLibrary* const* libraries;
  uint32_t dllCommandCount;
  const char* const* dllLibraryNames;
  const char* const* dllExportNames;
};
static_assert(sizeof(ProgramInfoBlock) == 13 * 4);

// The application's part of the executable: its information block and its start-up sequence.
struct ProgramImage {
  const ProgramInfoBlock* info;
  int32_t (*startProgram)();
};

// Defined by the application, once per executable.
extern const ProgramImage kApplicationImage;

}  // namespace rt
