#pragma once
// Calling a DLL command. Both entry points live in dll_call.S.

#include <cstdint>

// The service row: the caller has pushed the function's arguments (last first) and passes the
// declaration index in EAX; the row binds the declaration if needed and jumps to the function,
// which returns straight to the caller. Not callable from C++ directly.
extern "C" void rt_CallDllCommand();

// The calling sequence of application code: pushes count argument words (words[0] is the
// function's first argument) through the service row and returns the function's 32-bit result.
// A function that removes more or fewer argument bytes than were pushed is runtime error 6.
extern "C" uint32_t rt_CallDllChecked(uint32_t index, const uint32_t* words, uint32_t count);
