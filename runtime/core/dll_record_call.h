#pragma once
// Calling a DLL command with its arguments given as argument records, as component and command
// code asks for it through runtime request 2031.

#include <cstdint>

#include "runtime/core/records.h"

namespace rt {

// What request 2031 points at: count records, the function's first argument first.
struct DllArguments {
  uint32_t count;
  const ArgumentRecord* records;
};

// Calls the declaration with the words the records stand for and returns its 32-bit result. A
// function that removes more or fewer argument bytes than were passed is runtime error 6.
uint32_t CallDllWithRecords(uint32_t index, const DllArguments& arguments);

}  // namespace rt
