#include "runtime/core/window_runtime.h"

#include "runtime/core/error_reporter.h"
#include "runtime/core/never_destroyed.h"
#include "runtime/core/runtime_app.h"

namespace rt {
namespace {

// A runtime that holds no window description: no window can be loaded or reached.
class NoWindows final : public WindowRuntime {
 public:
  // Without a form runtime the stored descriptions are left unread; only loading a window fails.
  bool ReadFormData(const uint8_t*, uint32_t, const void*) override { return true; }
  void LoadStartWindow(uint32_t) override { Report("载入启动窗口失败", 0); }
  void RunMessageLoop() override { Runtime().MarkLoopStarted(); }
  uint64_t ReadProperty(uint32_t, uint32_t, int32_t, int32_t) override { NoWindow(); }
  void WriteProperty(uint32_t, uint32_t, int32_t, int32_t, uint32_t, uint32_t) override {
    NoWindow();
  }
  void* FindLiveObject(uint32_t, uint32_t) override { return nullptr; }
  uint32_t WindowCount() override { return 0; }
  int32_t Request(int32_t, uint32_t, uint32_t) override { return 0; }
  void ClearIdleCallbacks() override {}
  void ClearWindowList() override {}

 private:
  [[noreturn]] static void NoWindow() { Report("未载入欲访问窗口组件所在的窗口", 0); }
};

// Never destroyed: the runtime object's destructor still reaches it during static destruction.
constinit NeverDestroyed<NoWindows> noWindowsAtAll;

WindowRuntime* installed = nullptr;

}  // namespace

WindowRuntime& Windows() { return installed != nullptr ? *installed : noWindowsAtAll.object; }

void InstallWindowRuntime(WindowRuntime* windows) { installed = windows; }

}  // namespace rt
