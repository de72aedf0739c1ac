#pragma once
// The runtime application object: the one process-wide object that owns all runtime state from
// start-up to exit, and runs the start-up and shut-down sequences.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/cleanup_list.h"
#include "runtime/core/dll_commands.h"
#include "runtime/core/object_registry.h"
#include "runtime/core/program_info.h"

namespace rt {

// Sent to the hidden owner window from another thread: wParam is an exit code, and the GUI
// thread answers by calling Exit with it.
inline constexpr uint32_t kExitRequestMessage = 0x83E7;

class RuntimeApplication {
 public:
  RuntimeApplication() = default;
  // Runs the shut-down sequence once more; every list is empty by then, so nothing runs twice.
  ~RuntimeApplication();
  RuntimeApplication(const RuntimeApplication&) = delete;
  RuntimeApplication& operator=(const RuntimeApplication&) = delete;

  // The framework's two hooks around the application.
  int32_t AppStart(const ProgramImage& image);
  int32_t AppExit();

  // Runtime initialisation for the application (other-service code 6).
  void Initialise();
  // The shut-down sequence, then the end of the process with code.
  [[noreturn]] void Exit(int32_t code);
  void ShutDown(int32_t code);

  uint32_t RunMode() const { return runMode_; }
  // Directory of the executable without the final backslash, and its file name.
  const char* Directory() const { return directory_.c_str(); }
  const char* FileName() const { return fileName_.c_str(); }
  // Directory of the module that holds the runtime, with the final backslash.
  const char* RuntimeModuleDirectory() const { return moduleDirectory_.c_str(); }

  // The support libraries in the order of the program's library table.
  const std::vector<const SupportLibrary*>& Libraries() const { return libraries_; }

  CleanupList& Cleanup() { return cleanup_; }
  ObjectRegistry& Objects() { return objects_; }
  DllCommandTable& DllCommands() { return dllCommands_; }
  void* HiddenOwnerWindow() const { return hiddenOwner_; }

  void MarkLoopStarted() { loopStarted_ = true; }
  bool LoopStarted() const { return loopStarted_; }
  // The exit code carried by the quit message that ended the loop.
  void RememberQuitCode(int32_t code) { quitCode_ = code; }
  bool ShuttingDown() const { return shuttingDown_; }

 private:
  bool OnOtherThread() const;
  void NotifyLibraries(int32_t code);

  const ProgramInfoBlock* info_ = nullptr;
  uint32_t runMode_ = 0;
  uint32_t optionWord_ = 0;
  uint32_t buildNumber_ = 0;
  std::string moduleDirectory_;
  std::string directory_;
  std::string fileName_;
  void* hiddenOwner_ = nullptr;
  std::atomic<uint32_t> guiThread_ = 0;
  std::atomic<bool> shuttingDown_ = false;
  bool oleStarted_ = false;
  bool loopStarted_ = false;
  int32_t quitCode_ = 0;
  std::vector<const SupportLibrary*> libraries_;
  std::vector<uint32_t> libraryParameters_;
  CleanupList cleanup_;
  ObjectRegistry objects_;
  DllCommandTable dllCommands_;
};

RuntimeApplication& Runtime();

}  // namespace rt
