#include "runtime/forms/timer.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/property_table.h"

namespace forms {
namespace {

constexpr wchar_t kClassName[] = L"_Kw_Timer";
constexpr UINT_PTR kSystemTimerId = 1000;
constexpr uint32_t kHighestVersion = 1;

namespace own {
enum : uint8_t { Interval, Count };
}

struct Properties {
  int32_t interval = 0;  // milliseconds; 0 stops the timer
};

class Timer final : public Component {
 public:
  Timer(uint32_t windowId, uint32_t unitId, int32_t interval)
      : Component(windowId, unitId), p_{interval}, started_(interval) {
    UsePropertyTable(kOwn, &p_);
  }

  void Start(HWND window) {
    Attach(window);
    Restart();
  }

  int32_t Interval() const { return p_.interval; }

  static const PropertyRow kRows[own::Count];
  static const OwnProperties kOwn;

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
  void ApplyInterval() {
    p_.interval = std::max(p_.interval, 0);
    if (p_.interval == started_) return;  // the running period is not restarted
    started_ = p_.interval;
    if (running_) KillTimer(Window(), kSystemTimerId);
    running_ = false;
    Restart();
  }

  void Restart() {
    if (p_.interval > 0)
      running_ = SetTimer(Window(), kSystemTimerId, static_cast<UINT>(p_.interval), nullptr) != 0;
  }

  Properties p_;
  int32_t started_;  // the interval last applied
  bool running_ = false;
};

constexpr PropertyRow Timer::kRows[own::Count] = {
    Stored(own::Interval, kind::Integer, offsetof(Properties, interval), Apply<&Timer::ApplyInterval>),
};
constexpr OwnProperties Timer::kOwn = {kRows, own::Count, nullptr};

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

HGLOBAL CurrentData(Component* object) {
  return GlobalBlockOf(CurrentTypeData(*static_cast<Timer*>(object)));
}

constexpr auto kProperties = PropertyTable(0x8000, Timer::kRows);

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
    &StandardUnitInterface<Create, WriteByTable, CurrentData, ReadByTable>,
    0,
    0};

}  // namespace forms
