#include "runtime/core/runtime_app.h"

#include <ole2.h>
#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "runtime/core/ansi_path.h"
#include "runtime/core/error_reporter.h"
#include "runtime/core/event_suspension.h"
#include "runtime/core/hidden_owner_window.h"
#include "runtime/core/memory.h"
#include "runtime/core/paths.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/window_runtime.h"

namespace rt {
namespace {

RuntimeApplication theRuntime;

// The runtime is part of the executable: its module is the process's own.
std::wstring WideModuleFileName() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() > 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

// The executable's folder (without the final backslash) and file name as ANSI paths. Each is
// spelled long where the code page can, short otherwise, and left empty where neither names it,
// so that no other folder or file is ever taken for it.
struct ModulePath {
  std::string directory;
  std::string fileName;
};

ModulePath AnsiModulePath() {
  const std::wstring path = WideModuleFileName();
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {{}, ExactAnsi(path).value_or("")};
  ModulePath ansi;
  // The folder is made current: it must fit what the system keeps as the current folder.
  ansi.directory = AnsiPath(path.substr(0, slash), kAnsiFolderPathLimit).value_or("");
  if (std::optional<std::string> name = ExactAnsi(path.substr(slash + 1))) {
    ansi.fileName = *name;
  } else if (std::optional<std::string> whole = AnsiPath(path)) {
    const size_t ansiSlash = FindLastBackslash(*whole, IsAnsiLeadByte);
    if (ansiSlash != std::string::npos) ansi.fileName = whole->substr(ansiSlash + 1);
  }
  return ansi;
}

}  // namespace

RuntimeApplication& Runtime() { return theRuntime; }

// By now AppExit has run the sequence and emptied every list, or the process is ending without
// it (a test program that never shut the runtime down). Either way this object's lifetime is
// all that is certain here: clean-up routines, library code, the objects of the registry and
// other static objects may already be gone, so nothing of them is called. What the runtime
// still holds, the end of the process releases.
RuntimeApplication::~RuntimeApplication() = default;

int32_t RuntimeApplication::AppStart(const ProgramImage& image) {
  info_ = image.info;
  const std::string directory = AnsiModulePath().directory;
  moduleDirectory_ = directory.empty() ? std::string() : directory + "\\";
  return image.startProgram();
}

int32_t RuntimeApplication::AppExit() {
  ShutDown(0);
  // A report committed on another thread (its box still up, say) outlives the window's closing.
  return errorExit_ ? -1 : quitCode_;
}

void RuntimeApplication::Initialise() {
  UseProcessHeap();

  runMode_ = info_->runMode;
  optionWord_ = info_->optionWord;
  buildNumber_ = info_->buildNumber + 1;

  if (!oleStarted_) oleStarted_ = SUCCEEDED(OleInitialize(nullptr));

  // Relative paths of the application resolve against its own directory, however it was started.
  ModulePath path = AnsiModulePath();
  directory_ = std::move(path.directory);
  fileName_ = std::move(path.fileName);
  if (!directory_.empty()) {
    // "C:" alone would name the drive's current directory, not its root.
    const std::string current = directory_.back() == ':' ? directory_ + "\\" : directory_;
    SetCurrentDirectoryA(current.c_str());
  }

  hiddenOwner_ = CreateHiddenOwnerWindow();
  guiThread_ = GetCurrentThreadId();

  if (info_->constantLength != 0) SetConstantRegion(info_->constantStart, info_->constantLength);
  if (info_->dllCommandCount > 0)
    dllCommands_.Load(info_->dllCommandCount, info_->dllLibraryNames, info_->dllExportNames);

  libraries_.assign(info_->libraries, info_->libraries + info_->libraryCount);
  libraryParameters_.assign(libraries_.size(), 0);
  for (const SupportLibrary* library : libraries_)
    if (library->notify != nullptr)
      library->notify(kNotifyStart, reinterpret_cast<uint32_t>(&RuntimeRequest), 0);

  if (info_->formDataLength > 0 &&
      !Windows().ReadFormData(info_->formData, info_->formDataLength, info_->codeBase))
    Report("载入窗口模板数据段出错!", 0);
}

bool RuntimeApplication::OnOtherThread() const {
  return guiThread_ != 0 && GetCurrentThreadId() != guiThread_;
}

void RuntimeApplication::Exit(int32_t code) {
  ShutDown(code);
  // Another thread gets here only when the GUI thread is already ending the process.
  while (OnOtherThread()) Sleep(INFINITE);
  ExitProcess(static_cast<UINT>(errorExit_ ? -1 : exitCode_));
}

void RuntimeApplication::CommitToErrorExit() {
  cleanup_.ForgetAll();
  errorExit_ = true;
}

void RuntimeApplication::ExitAfterError() {
  CommitToErrorExit();
  Exit(-1);
}

void RuntimeApplication::ShutDown(int32_t code) {
  SuspendEvents();

  if (OnOtherThread()) {
    // The GUI thread runs the whole sequence and ends the process.
    const HWND owner = static_cast<HWND>(hiddenOwner_.load());
    if (owner != nullptr && IsWindow(owner))
      SendMessageA(owner, kExitRequestMessage, static_cast<WPARAM>(code), 0);
    if (!shuttingDown_) ExitProcess(static_cast<UINT>(code));
    return;
  }
  if (!shuttingDown_.exchange(true)) exitCode_ = code;

  // Each step is claimed before it runs: entered again from inside a step, the sequence goes on
  // with the steps not yet begun and never repeats one. The clean-up routines are claimed one
  // by one, so the routines after the one that re-entered still run, each once.
  while (nextStep_ != Step::Done) {
    const Step step = nextStep_;
    if (step != Step::RunCleanup) nextStep_ = static_cast<Step>(static_cast<int>(step) + 1);
    RunStep(step);
    if (step == Step::RunCleanup && nextStep_ == Step::RunCleanup) nextStep_ = Step::NotifyLibraries;
  }
}

void RuntimeApplication::RunStep(Step step) {
  switch (step) {
    case Step::ClearIdleCallbacks:
      Windows().ClearIdleCallbacks();
      break;
    case Step::ClearWindowList:
      Windows().ClearWindowList();
      break;
    case Step::RunCleanup:
      cleanup_.RunAll();
      break;
    case Step::NotifyLibraries:
      for (size_t i = 0; i < libraries_.size(); ++i)
        if (libraries_[i]->notify != nullptr)
          libraries_[i]->notify(kNotifyShutDown, libraryParameters_[i], 0);
      libraries_.clear();
      libraryParameters_.clear();
      break;
    case Step::ReleaseDllLibraries:
      dllCommands_.ReleaseLibraries();
      // The runtime loads no other module of its own, caches no default icon and keeps no
      // media, socket or component registrations: those steps have nothing to release.
      break;
    case Step::ForgetTexts:
      directory_.clear();
      fileName_.clear();
      moduleDirectory_.clear();
      ForgetConstantRegion();
      break;
    case Step::DestroyHiddenOwner:
      DestroyHiddenOwnerWindow(hiddenOwner_.exchange(nullptr));
      break;
    case Step::CloseObjects:
      objects_.CloseAll();  // open files among them
      break;
    case Step::StopOle:
      if (oleStarted_) {
        oleStarted_ = false;
        OleUninitialize();
      }
      break;
    case Step::Done:
      break;
  }
}

}  // namespace rt
