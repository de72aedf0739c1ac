#pragma once
// What the component tests share: a plain parent window painted in the button-face colour, the
// runtime requests the components send (events and end announcements), the entry points of a
// type reached through its type record, and a message pump.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "runtime/forms/component.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/event_record.h"

namespace forms::testing {

inline constexpr uint32_t kTestWindowId = 0x52010001;

struct Announcement {
  uint32_t windowId, unitId;
};

// Records requests 2008 and 2000 while a test runs; answers every other request with 0.
class RequestLog {
 public:
  static std::vector<EventRecord>& Events();
  static std::vector<Announcement>& Ends();
  static void Start();
  static void Stop();
};

// Entry points of a type, taken through its unit interface as the runtime takes them.
struct TypeEntries {
  explicit TypeEntries(const ComponentTypeRecord& type);
  CreateFunction create;
  WritePropertyFunction write;
  CurrentDataFunction currentData;
  ReadPropertyFunction read;
};

class LiveComponentTest : public ::testing::Test {
 protected:
  static constexpr int kParentWidth = 320, kParentHeight = 200;

  void SetUp() override;
  void TearDown() override;

  CreateArguments ArgumentsFor(std::span<const uint8_t> typeData, RECT area = {8, 8, 104, 40},
                               uint32_t unitId = 0x16016C5B) const;
  int ChildCount() const;
  static HWND SharedParent();

  HWND parent_ = nullptr;
};

// Dispatches messages until done() holds or timeoutMs have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD milliseconds);

std::vector<uint8_t> BytesOf(HGLOBAL block);

}  // namespace forms::testing
