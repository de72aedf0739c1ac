#include "runtime/core/cleanup_list.h"

#include <algorithm>

namespace rt {

void CleanupList::Register(Routine routine) {
  if (std::find(routines_.begin(), routines_.end(), routine) == routines_.end())
    routines_.push_back(routine);
}

void CleanupList::RunAll() {
  // By index: a routine may register another one, which then runs too.
  for (size_t i = 0; i < routines_.size(); ++i) routines_[i]();
  routines_.clear();
}

}  // namespace rt
