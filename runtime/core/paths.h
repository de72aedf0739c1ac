#pragma once
// Splitting a path of the system's ANSI code page at its last backslash, without taking the
// second byte of a double-byte character for one.

#include <cstddef>
#include <string>

namespace rt {

using LeadByteTest = bool (*)(unsigned char byte);

// Position of the last backslash, or std::string::npos.
size_t FindLastBackslash(const std::string& path, LeadByteTest isLeadByte);
// The lead-byte test of the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

}  // namespace rt
