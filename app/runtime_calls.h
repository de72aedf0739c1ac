#pragma once
// Thin typed helpers over the runtime service table, as the application's code uses it: argument
// records for built-in commands, results taken apart, component properties of the main window,
// and DLL commands. Every call still crosses the table.

#include <cstdint>
#include <initializer_list>

#include "app/dll_declarations.h"
#include "runtime/core/records.h"
#include "runtime/core/service_table.h"
#include "runtime/core/values.h"
#include "runtime/forms/command_table.h"

namespace app {

inline const rt::RuntimeServiceTable& services = RuntimeServices;

// Argument records. A null text or byte set goes as the constant empty one, so a command never
// sees a null argument.
rt::ArgumentRecord IntArg(int32_t value);
rt::ArgumentRecord DoubleArg(double value);
rt::ArgumentRecord TextArg(const char* text);
rt::ArgumentRecord ByteSetArg(const rt::ByteSetHeader* bytes);
// A component of the main window, for a component method: the type code is its tag.
rt::ArgumentRecord ComponentArg(uint32_t unitId, uint32_t typeCode);

// A built-in command by its row in the command table; the result is the caller's to free.
rt::ResultRecord Call(forms::CommandIndex command, std::initializer_list<rt::ArgumentRecord> args);
inline int32_t CallInt(forms::CommandIndex c, std::initializer_list<rt::ArgumentRecord> args) {
  return static_cast<int32_t>(Call(c, args).low);
}
inline bool CallBool(forms::CommandIndex c, std::initializer_list<rt::ArgumentRecord> args) {
  return Call(c, args).low != 0;
}
inline rt::Text CallText(forms::CommandIndex c, std::initializer_list<rt::ArgumentRecord> args) {
  return reinterpret_cast<rt::Text>(Call(c, args).low);
}
inline rt::ByteSet CallByteSet(forms::CommandIndex c,
                               std::initializer_list<rt::ArgumentRecord> args) {
  return reinterpret_cast<rt::ByteSet>(Call(c, args).low);
}

// A text variable that starts out holding a constant: whatever later replaces the text frees it,
// and freeing a constant does nothing.
inline rt::Text TextVariable(const char* constant) { return const_cast<rt::Text>(constant); }

// Frees any value the runtime handed over; null and constants are ignored.
inline void Release(void* value) { services.Free(value); }
// Frees the variable's value and empties the variable.
template <typename T>
void ReleaseVariable(T*& variable) {
  services.Free(variable);
  variable = nullptr;
}

// Properties of the main window's components, as a whole value (no element selector).
rt::Text ReadTextProperty(uint32_t unitId, int32_t index);
int32_t ReadIntProperty(uint32_t unitId, int32_t index);
void WriteTextProperty(uint32_t unitId, int32_t index, const char* text);
void WriteIntProperty(uint32_t unitId, int32_t index, int32_t value);

// A DLL command with its argument words, first argument first; the function's 32-bit result.
// The calling sequence checks the stack afterwards (runtime error 6 on a mismatch).
uint32_t CallDll(DllCommand command, std::initializer_list<uint32_t> words);
inline uint32_t Word(const void* pointer) { return reinterpret_cast<uint32_t>(pointer); }

}  // namespace app
