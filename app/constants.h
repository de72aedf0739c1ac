#pragma once
// The application's literals. They live in one object whose bounds are the constant region, so
// a literal can be handed to anything that later frees it.

#include <cstdint>

namespace app {

struct Constants {
  char emptyText[1];
  uint32_t emptyByteSet[2];  // the header {1, 0}
  double one;
};

extern const Constants kConstants;

}  // namespace app
