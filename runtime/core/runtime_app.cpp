#include "runtime/core/runtime_app.h"

#include <ole2.h>
#include <windows.h>

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

std::string ModuleFileName() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);  // the runtime is part of the executable
  return path;
}

}  // namespace

RuntimeApplication& Runtime() { return theRuntime; }

RuntimeApplication::~RuntimeApplication() { ShutDown(0); }

int32_t RuntimeApplication::AppStart(const ProgramImage& image) {
  info_ = image.info;
  const std::string path = ModuleFileName();
  const size_t slash = FindLastBackslash(path, IsAnsiLeadByte);
  moduleDirectory_ = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return image.startProgram();
}

int32_t RuntimeApplication::AppExit() {
  ShutDown(0);
  return quitCode_;
}

void RuntimeApplication::Initialise() {
  UseProcessHeap();

  runMode_ = info_->runMode;
  optionWord_ = info_->optionWord;
  buildNumber_ = info_->buildNumber + 1;

  if (!oleStarted_) oleStarted_ = SUCCEEDED(OleInitialize(nullptr));

  // Relative paths of the application resolve against its own directory, however it was started.
  const std::string path = ModuleFileName();
  const size_t slash = FindLastBackslash(path, IsAnsiLeadByte);
  directory_ = slash == std::string::npos ? std::string() : path.substr(0, slash);
  fileName_ = slash == std::string::npos ? path : path.substr(slash + 1);
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
  ExitProcess(static_cast<UINT>(code));
}

void RuntimeApplication::ShutDown(int32_t code) {
  SuspendEvents();

  if (OnOtherThread()) {
    // The GUI thread runs the whole sequence and ends the process.
    if (hiddenOwner_ != nullptr && IsWindow(static_cast<HWND>(hiddenOwner_)))
      SendMessageA(static_cast<HWND>(hiddenOwner_), kExitRequestMessage,
                   static_cast<WPARAM>(code), 0);
    if (!shuttingDown_) ExitProcess(static_cast<UINT>(code));
    return;
  }
  shuttingDown_ = true;

  Windows().ClearIdleCallbacks();
  Windows().ClearWindowList();
  cleanup_.RunAll();

  for (size_t i = 0; i < libraries_.size(); ++i)
    if (libraries_[i]->notify != nullptr)
      libraries_[i]->notify(kNotifyShutDown, libraryParameters_[i], 0);
  libraries_.clear();
  libraryParameters_.clear();

  dllCommands_.ReleaseLibraries();
  // The runtime loads no other module of its own, caches no default icon and keeps no media,
  // socket or component registrations: those steps of the sequence have nothing to release.

  directory_.clear();
  fileName_.clear();
  moduleDirectory_.clear();
  ForgetConstantRegion();

  DestroyHiddenOwnerWindow(hiddenOwner_);
  hiddenOwner_ = nullptr;

  objects_.CloseAll();  // open files among them

  if (oleStarted_) {
    OleUninitialize();
    oleStarted_ = false;
  }
}

}  // namespace rt
