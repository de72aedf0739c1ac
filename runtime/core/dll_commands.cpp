#include "runtime/core/dll_commands.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "runtime/core/error_reporter.h"
#include "runtime/core/runtime_app.h"

namespace rt {
namespace {

// An export named "#n" is the ordinal n, cut to 16 bits.
const char* LookupKey(const char* exportName) {
  if (exportName[0] != '#') return exportName;
  uint32_t ordinal = 0;
  for (const char* p = exportName + 1; *p >= '0' && *p <= '9'; ++p)
    ordinal = ordinal * 10 + static_cast<uint32_t>(*p - '0');
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(ordinal & 0xFFFF));
}

[[noreturn]] void ReportUnbound(const char* library, const char* exportName) {
  const std::string message =
      *library != '\0'
          ? std::string("无法找到指定DLL库文件“") + library + "”中的输出命令“" + exportName + "”"
          : std::string("无法找到指定DLL库文件中的输出命令“") + exportName + "”";
  Report(message.c_str(), 0);
}

void* LoadSystemLibrary(const char* path) { return LoadLibraryA(path); }
void* LookUpSystemExport(void* library, const char* key) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), key));
}
void ReleaseSystemLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace

const LibraryLoader kSystemLibraryLoader = {LoadSystemLibrary, LookUpSystemExport,
                                            ReleaseSystemLibrary};

// The first library of the search that loads: the application directory, the runtime's module
// directory, then the system's own search. A name with a drive is loaded only as written. A
// directory that no ANSI path names is empty and skipped: "\\name" would be the drive's root.
// The runtime is part of the executable, so its module directory is usually the application
// directory: a path that has just failed to load is not tried again.
void* DllCommandTable::LoadDeclaredLibrary(const char* name) const {
  if (std::strchr(name, ':') != nullptr) return loader_->load(name);
  const RuntimeApplication& runtime = Runtime();
  const std::string directory = runtime.Directory();
  const std::string moduleDirectory = runtime.RuntimeModuleDirectory();
  const std::string candidates[] = {
      directory.empty() ? std::string() : directory + "\\" + name,
      moduleDirectory.empty() ? std::string() : moduleDirectory + name,
      name,
  };
  const std::string* tried = nullptr;
  for (const std::string& path : candidates) {
    if (path.empty() || (tried != nullptr && path == *tried)) continue;
    if (void* library = loader_->load(path.c_str())) return library;
    tried = &path;
  }
  return nullptr;
}

void DllCommandTable::Load(uint32_t count, const char* const* libraryNames,
                           const char* const* exportNames) {
  libraryNames_.assign(libraryNames, libraryNames + count);
  exportNames_.assign(exportNames, exportNames + count);
  handles_.assign(count, nullptr);
  addresses_.assign(count, nullptr);
}

void* DllCommandTable::Bind(uint32_t index) {
  if (index >= Count()) ReportUnbound("", "");  // no such declaration: never jump anywhere
  if (addresses_[index] != nullptr) return addresses_[index];

  const char* library = libraryNames_[index] ? libraryNames_[index] : "";
  const char* exportName = exportNames_[index] ? exportNames_[index] : "";
  const char* key = LookupKey(exportName);
  void* held = nullptr;
  void* address = nullptr;

  if (*library == '\0') {
    for (const char* candidate : kDefaultLibraries) {
      void* tried = loader_->load(candidate);
      if (tried == nullptr) continue;
      address = loader_->lookup(tried, key);
      if (address != nullptr) {
        held = tried;
        break;
      }
      loader_->release(tried);
    }
  } else {
    held = LoadDeclaredLibrary(library);
    if (held != nullptr) address = loader_->lookup(held, key);
  }

  if (address == nullptr) {
    if (held != nullptr) loader_->release(held);
    ReportUnbound(library, exportName);
  }
  handles_[index] = held;
  addresses_[index] = address;
  return address;
}

void* DllCommandTable::BindSystemFunction(const char* library, const char* exportName) {
  void* held = loader_->load(library);
  void* address = held != nullptr ? loader_->lookup(held, exportName) : nullptr;
  if (address == nullptr) {
    if (held != nullptr) loader_->release(held);
    ReportUnbound(library, exportName);
  }
  return address;
}

void DllCommandTable::ReleaseLibraries() {
  for (void* handle : handles_)
    if (handle != nullptr) loader_->release(handle);
  libraryNames_.clear();
  exportNames_.clear();
  handles_.clear();
  addresses_.clear();
}

}  // namespace rt

extern "C" void* rt_BindDllCommand(uint32_t index) { return rt::Runtime().DllCommands().Bind(index); }
