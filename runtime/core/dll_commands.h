#pragma once
// DLL commands: system-library functions that the application declares by library file name and
// export name. Each declaration is bound on its first call and keeps its library loaded until
// the process ends.

#include <cstdint>
#include <vector>

namespace rt {

// The system's three library functions as binding uses them (LoadLibraryA, GetProcAddress,
// FreeLibrary). A test can put its own in their place to watch every call binding makes.
struct LibraryLoader {
  void* (*load)(const char* path);
  void* (*lookup)(void* library, const char* key);  // key: a name, or an ordinal below 0x10000
  void (*release)(void* library);
};
extern const LibraryLoader kSystemLibraryLoader;

class DllCommandTable {
 public:
  // Takes count declarations from the application's two name tables (borrowed, never freed).
  void Load(uint32_t count, const char* const* libraryNames, const char* const* exportNames);
  // The declaration's code address, binding it first if needed. Failure is a fatal runtime
  // error: a caller never gets an unusable address.
  void* Bind(uint32_t index);
  // A system function that the runtime calls itself, bound by library and export name through
  // the system's own search, so that the program need not import the library and it loads only
  // when first needed. The library stays loaded until the process ends. Failure is the binding
  // error of a DLL command.
  void* BindSystemFunction(const char* library, const char* exportName);
  // Releases the library of every bound declaration, then empties the table.
  void ReleaseLibraries();
  void UseLoader(const LibraryLoader& loader) { loader_ = &loader; }

  uint32_t Count() const { return static_cast<uint32_t>(addresses_.size()); }
  bool IsBound(uint32_t index) const { return index < Count() && addresses_[index] != nullptr; }
  void* LibraryHandle(uint32_t index) const { return index < Count() ? handles_[index] : nullptr; }

 private:
  void* LoadDeclaredLibrary(const char* name) const;

  const LibraryLoader* loader_ = &kSystemLibraryLoader;
  std::vector<const char*> libraryNames_;
  std::vector<const char*> exportNames_;
  std::vector<void*> handles_;
  std::vector<void*> addresses_;
};

// The libraries searched, in this order, for a declaration without a library name.
inline constexpr const char* kDefaultLibraries[] = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"};

}  // namespace rt

// Binding entry of the service row that calls a DLL command (dll_call.h).
extern "C" void* rt_BindDllCommand(uint32_t index);
