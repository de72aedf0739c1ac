#include "runtime/core/paths.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

bool GbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool NoLead(unsigned char) { return false; }

TEST(FindLastBackslash, NeverTakesATrailByteForABackslash) {
  const struct {
    const char* path;
    LeadByteTest lead;
    size_t expected;
  } rows[] = {
      {"C:\\Games\\quenmire-res.exe", GbkLead, 8},
      {"quenmire-res.exe", GbkLead, std::string::npos},
      {"C:\\\x81\x5C.exe", GbkLead, 2},            // 0x81 0x5C is one GBK character
      {"C:\\a\x81\x5C\\b.exe", GbkLead, 6},
      {"C:\\Jos\xE9\\g.exe", NoLead, 7},           // code page 1252: 0xE9 is a letter
      {"C:\\Jos\xE9\\g.exe", GbkLead, 2},          // the same bytes read as GBK
      {"\\", GbkLead, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(FindLastBackslash(row.path, row.lead), row.expected) << row.path;
}

}  // namespace
}  // namespace rt
