#pragma once
// The application's clean-up routines, run once at shut-down in registration order.
//
// The GUI thread registers and runs them; a report on another thread may empty the list at the
// same moment, so the list itself is locked (never while a routine runs).

#include <atomic>
#include <cstddef>
#include <vector>

namespace rt {

class CleanupList {
 public:
  using Routine = void (*)();

  // A routine already listed is not added again.
  void Register(Routine routine);
  // Runs every routine in registration order, each taken off the list before it runs: a routine
  // that enters the shut-down again, which runs the routines still listed, never runs twice.
  void RunAll();
  // Empties the list without running anything (a runtime error ends the process).
  void ForgetAll();
  size_t Size() const;

 private:
  // Null when the list is empty.
  Routine TakeFirst();

  class Guard;
  mutable std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  std::vector<Routine> routines_;
};

}  // namespace rt
