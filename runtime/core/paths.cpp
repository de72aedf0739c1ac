#include "runtime/core/paths.h"

#include <windows.h>

namespace rt {

size_t FindLastBackslash(const std::string& path, LeadByteTest isLeadByte) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte == '\\')
      found = i;
    else if (isLeadByte(byte))
      ++i;  // the trail byte belongs to this character
  }
  return found;
}

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace rt
