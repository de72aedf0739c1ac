#pragma once
// A file search run one step at a time, its state in a handle variable of the caller.

#include <cstdint>

#include "runtime/core/values.h"

namespace rt {

// A non-empty pattern starts a new search (closing one still held in the variable); an empty
// pattern continues the held search. Returns the next matching name, or null when the search
// has ended, after which the handle is closed and the variable set to 0.
// Entries "." and ".." are never returned. With allFiles non-zero every other entry matches;
// otherwise plain files match, and hidden, system and directory entries only when the attribute
// mask includes one of their attributes.
Text FindFileStep(const char* pattern, uint32_t attributeMask, int32_t allFiles,
                  uint32_t* handleVariable);
// Null is ignored.
void CloseFileSearch(uint32_t handle);

}  // namespace rt
