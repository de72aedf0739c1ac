#include "runtime/core/cleanup_list.h"

#include <windows.h>

#include <algorithm>

namespace rt {

// Held for a few instructions that neither allocate nor call out, so no thread ever waits for
// itself; a spin needs no block from the heap, which a report about the heap cannot count on.
// Whoever takes it first carries out an emptying asked for meanwhile.
class CleanupList::Guard {
 public:
  explicit Guard(CleanupList& list) : list_(list) {
    while (list_.busy_.test_and_set(std::memory_order_acquire)) SwitchToThread();
    if (list_.forgotten_.exchange(false)) {
      list_.routines_.clear();  // keeps the block: no call into the heap
      list_.run_ = 0;
    }
  }
  ~Guard() { list_.busy_.clear(std::memory_order_release); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  CleanupList& list_;
};

void CleanupList::Register(Routine routine) {
  // Declared ahead of the guard: the block it ends up with (the old one) is freed after the
  // lock is let go.
  std::vector<Routine> grown;
  for (;;) {
    size_t wanted;
    {
      const Guard guard(*this);
      if (std::find(routines_.begin(), routines_.end(), routine) != routines_.end()) return;
      if (routines_.size() < routines_.capacity()) {
        routines_.push_back(routine);
        return;
      }
      if (grown.capacity() > routines_.size()) {
        grown.assign(routines_.begin(), routines_.end());
        grown.push_back(routine);
        routines_.swap(grown);
        return;
      }
      wanted = routines_.empty() ? 1 : routines_.size() * 2;
    }
    // Grown outside the lock: a refused allocation reports, and the report and the shut-down
    // after it use this list. Another thread may change it meanwhile: look again.
    grown.reserve(wanted);
  }
}

CleanupList::Routine CleanupList::TakeNext() {
  const Guard guard(*this);
  return run_ < routines_.size() ? routines_[run_++] : nullptr;
}

void CleanupList::RunAll() {
  // One at a time: a routine may register another one, which then runs too.
  while (const Routine routine = TakeNext()) routine();
}

void CleanupList::ForgetAll() { forgotten_.store(true); }

size_t CleanupList::Size() const {
  // Never defined const; the guard may carry out an emptying asked for meanwhile.
  const Guard guard(const_cast<CleanupList&>(*this));
  return routines_.size() - run_;
}

}  // namespace rt
