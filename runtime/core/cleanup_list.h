#pragma once
// The application's clean-up routines, run once at shut-down in registration order.
//
// The GUI thread registers and runs them; a report on another thread may empty the list at the
// same moment, so the list itself is locked. The lock is held only while nothing can allocate,
// report or call out: a report from inside any of these operations (a refused allocation while
// the list grows) empties the list without waiting for a lock, and the shut-down that follows
// finds the lock free.

#include <atomic>
#include <cstddef>
#include <vector>

namespace rt {

class CleanupList {
 public:
  using Routine = void (*)();

  // A routine already listed is not added again, nor one that has already run: a routine that
  // registers itself while it runs does not run again.
  void Register(Routine routine);
  // Runs every routine in registration order, each marked as run before it runs: a routine
  // that enters the shut-down again, which runs the routines not yet run, never runs twice. A
  // routine registered by another one during the run runs too.
  void RunAll();
  // Empties the list without running anything (a runtime error ends the process). Takes no
  // lock: the list is emptied by whichever thread next takes it.
  void ForgetAll();
  // The routines that have not run yet.
  size_t Size() const;

 private:
  // Null when no routine is left to run.
  Routine TakeNext();

  class Guard;
  mutable std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  std::atomic<bool> forgotten_ = false;
  // Every routine registered since the list was last emptied, those already run first.
  std::vector<Routine> routines_;
  size_t run_ = 0;
};

}  // namespace rt
