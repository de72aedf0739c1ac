#pragma once
// A second process that keeps a file busy while the tool works: either holding it open without
// sharing, or being it (the executable copied to the game's name and started). It ends when the
// object goes.

#include <windows.h>

#include <string>

namespace reliability {

class OtherProcess {
 public:
  // Starts program; with a file, the program holds that file open without sharing.
  explicit OtherProcess(const std::wstring& program, const std::wstring& heldFile = {});
  ~OtherProcess();
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;

  bool Ready() const { return ready_; }

 private:
  HANDLE readyEvent_ = nullptr, releaseEvent_ = nullptr;
  PROCESS_INFORMATION process_{};
  bool ready_ = false;
};

// The holding program as built beside the tests.
std::wstring HoldingProgram();

}  // namespace reliability
