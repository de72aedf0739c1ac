#pragma once
// The runtime's window descriptions, loaded windows and message loop. The core reaches them
// only through this interface; the form runtime installs its implementation when its support
// library is started. Until then the runtime holds no window description at all.

#include <cstdint>

namespace rt {

class WindowRuntime {
 public:
  virtual ~WindowRuntime() = default;

  // Reads the stored form descriptions; false when they cannot be read.
  virtual bool ReadFormData(const uint8_t* block, uint32_t length, const void* codeBase) = 0;
  virtual void LoadStartWindow(uint32_t windowId) = 0;
  virtual void RunMessageLoop() = 0;
  virtual uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                int32_t selector) = 0;
  virtual void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t selector,
                             uint32_t low, uint32_t high) = 0;
  // The live object of a window (unitId 0) or of a component; null when there is none.
  virtual void* FindLiveObject(uint32_t windowId, uint32_t unitId) = 0;
  virtual uint32_t WindowCount() = 0;
  // Requests that only the form runtime answers; 0 for a code it does not know.
  virtual int32_t Request(int32_t code, uint32_t value1, uint32_t value2) = 0;
  virtual void ClearIdleCallbacks() = 0;
  virtual void ClearWindowList() = 0;
};

WindowRuntime& Windows();
// Null restores the runtime without window descriptions.
void InstallWindowRuntime(WindowRuntime* windows);

}  // namespace rt
