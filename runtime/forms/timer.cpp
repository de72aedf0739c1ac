#include "runtime/forms/timer.h"

#include <vector>

#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"

namespace forms {
namespace {

constexpr wchar_t kClassName[] = L"_Kw_Timer";
constexpr UINT_PTR kSystemTimerId = 1000;
constexpr uint32_t kHighestVersion = 1;

namespace own {
constexpr int32_t Interval = 0;
}

class Timer final : public Component {
 public:
  Timer(uint32_t windowId, uint32_t unitId, int32_t interval)
      : Component(windowId, unitId), interval_(interval) {}

  void Start(HWND window) {
    Attach(window);
    Restart();
  }

  int32_t Interval() const { return interval_; }

  void SetInterval(int32_t interval) {
    if (interval < 0) interval = 0;
    if (interval == interval_) return;  // the running period is not restarted
    interval_ = interval;
    if (running_) KillTimer(Window(), kSystemTimerId);
    running_ = false;
    Restart();
  }

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_TIMER && wParam == kSystemTimerId) {
      result = CallOriginal(message, wParam, lParam);
      RaiseEvent(0);
      return true;
    }
    if (message == WM_DESTROY && running_) {
      KillTimer(Window(), kSystemTimerId);
      running_ = false;
    }
    return false;
  }

 private:
  void Restart() {
    if (interval_ > 0)
      running_ = SetTimer(Window(), kSystemTimerId, static_cast<UINT>(interval_), nullptr) != 0;
  }

  int32_t interval_;
  bool running_ = false;
};

std::vector<uint8_t> CurrentTypeData(const Timer& timer) {
  ArchiveWriter writer;
  writer.U32(kHighestVersion);
  writer.I32(timer.Interval());
  return writer.Data();
}

Component* Create(const CreateArguments& args) {
  int32_t interval = 0;
  if (args.typeDataLength > 0) {
    ArchiveReader reader({args.typeData, args.typeDataLength});
    uint32_t version = 0;
    if (!reader.U32(version) || version > kHighestVersion || !reader.I32(interval)) return nullptr;
  }
  const HWND window = CreateHiddenChildWindow(kClassName, args);
  if (window == nullptr) return nullptr;
  auto* timer = new Timer(args.windowId, args.unitId, interval);
  timer->Start(window);
  return timer;
}

int32_t WriteOwn(Component* object, int32_t ownIndex, const RawValue* value, uint32_t*) {
  if (ownIndex == own::Interval)
    static_cast<Timer*>(object)->SetInterval(static_cast<int32_t>(value->low));
  return 0;
}

HGLOBAL CurrentData(Component* object) {
  return GlobalBlockOf(CurrentTypeData(*static_cast<Timer*>(object)));
}

int32_t ReadOwn(Component* object, int32_t ownIndex, RawValue* result) {
  if (ownIndex != own::Interval) return 0;
  *result = {static_cast<uint32_t>(static_cast<Timer*>(object)->Interval()), 0};
  return 1;
}

constexpr uint16_t kOwnKinds[] = {kind::Integer};
constexpr auto kProperties = PropertyTable(0x8000, kOwnKinds);

}  // namespace

const ComponentTypeRecord kTimerType = {
    "时钟",
    "Timer",
    0,
    0,
    0,
    0x80008040,
    0,
    0,
    0,
    kProperties.size(),
    kProperties.data(),
    &StandardUnitInterface<Create, WriteOwn, CurrentData, ReadOwn>,
    0,
    0};

}  // namespace forms
