#pragma once
// The application's clean-up routines, run once at shut-down in registration order.

#include <cstddef>
#include <vector>

namespace rt {

class CleanupList {
 public:
  using Routine = void (*)();

  // A routine already listed is not added again.
  void Register(Routine routine);
  // Runs every routine in registration order, then empties the list.
  void RunAll();
  // Empties the list without running anything (a runtime error ends the process).
  void ForgetAll() { routines_.clear(); }
  size_t Size() const { return routines_.size(); }

 private:
  std::vector<Routine> routines_;
};

}  // namespace rt
