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
  // Static destruction: calls nothing outside this object (see the definition).
  ~RuntimeApplication();
  RuntimeApplication(const RuntimeApplication&) = delete;
  RuntimeApplication& operator=(const RuntimeApplication&) = delete;

  // The framework's two hooks around the application.
  int32_t AppStart(const ProgramImage& image);
  int32_t AppExit();

  // Runtime initialisation for the application (other-service code 6).
  void Initialise();
  // The shut-down sequence, then the end of the process with code. Entered again while the
  // sequence runs on the GUI thread (a clean-up routine calling Exit, an exit request arriving
  // while a step pumps messages), it finishes the steps not yet begun and ends the process with
  // the code of the first entry.
  [[noreturn]] void Exit(int32_t code);
  // A runtime error commits the process to its end: from here on no clean-up routine runs and
  // the process ends with -1, whoever asks it to end meanwhile (an exit request that reaches
  // the hidden owner while the error box is up, say). Called before anything can run messages.
  void CommitToErrorExit();
  // Exit after a runtime error: the process ends with -1, also when a shut-down was under way.
  [[noreturn]] void ExitAfterError();
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
  // The steps of the shut-down sequence on the GUI thread, in order.
  enum class Step {
    ClearIdleCallbacks,
    ClearWindowList,
    RunCleanup,
    NotifyLibraries,
    ReleaseDllLibraries,
    ForgetTexts,
    DestroyHiddenOwner,
    CloseObjects,
    StopOle,
    Done,
  };
  void RunStep(Step step);
  bool OnOtherThread() const;

  const ProgramInfoBlock* info_ = nullptr;
  uint32_t runMode_ = 0;
  uint32_t optionWord_ = 0;
  uint32_t buildNumber_ = 0;
  std::string moduleDirectory_;
  std::string directory_;
  std::string fileName_;
  // Read by another thread's Exit while the GUI thread may destroy the window.
  std::atomic<void*> hiddenOwner_ = nullptr;
  std::atomic<uint32_t> guiThread_ = 0;
  std::atomic<bool> shuttingDown_ = false;
  Step nextStep_ = Step::ClearIdleCallbacks;
  int32_t exitCode_ = 0;  // of the first shut-down
  std::atomic<bool> errorExit_ = false;  // set by a report on any thread
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
