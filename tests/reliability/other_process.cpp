#include "other_process.h"

#include "process_runner.h"

namespace reliability {

std::wstring HoldingProgram() { return BesideThisProgram(L"..\\unit\\file_holder.exe"); }

OtherProcess::OtherProcess(const std::wstring& program, const std::wstring& heldFile) {
  const std::wstring suffix = std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount());
  const std::wstring readyName = L"qr-ready-" + suffix, releaseName = L"qr-release-" + suffix;
  readyEvent_ = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
  releaseEvent_ = CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str());
  std::wstring line = L"\"" + program + L"\" " + readyName + L" " + releaseName;
  if (!heldFile.empty()) line += L" \"" + heldFile + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_))
    return;
  HANDLE waits[] = {readyEvent_, process_.hProcess};
  ready_ = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
}

OtherProcess::~OtherProcess() {
  SetEvent(releaseEvent_);
  if (process_.hProcess != nullptr) {
    WaitForSingleObject(process_.hProcess, 20000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  CloseHandle(readyEvent_);
  CloseHandle(releaseEvent_);
}

}  // namespace reliability
