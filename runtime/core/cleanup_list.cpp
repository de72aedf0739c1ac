#include "runtime/core/cleanup_list.h"

#include <algorithm>
#include <thread>

namespace rt {

// Held for a few instructions only; a spin needs no block from the heap, which a report about
// the heap itself cannot count on.
class CleanupList::Guard {
 public:
  explicit Guard(std::atomic_flag& busy) : busy_(busy) {
    while (busy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  ~Guard() { busy_.clear(std::memory_order_release); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  std::atomic_flag& busy_;
};

void CleanupList::Register(Routine routine) {
  const Guard guard(busy_);
  if (std::find(routines_.begin(), routines_.end(), routine) == routines_.end())
    routines_.push_back(routine);
}

CleanupList::Routine CleanupList::TakeFirst() {
  const Guard guard(busy_);
  if (routines_.empty()) return nullptr;
  const Routine first = routines_.front();
  routines_.erase(routines_.begin());
  return first;
}

void CleanupList::RunAll() {
  // One at a time: a routine may register another one, which then runs too.
  while (const Routine routine = TakeFirst()) routine();
}

void CleanupList::ForgetAll() {
  const Guard guard(busy_);
  routines_.clear();
}

size_t CleanupList::Size() const {
  const Guard guard(busy_);
  return routines_.size();
}

}  // namespace rt
