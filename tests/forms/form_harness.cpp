#include "tests/forms/form_harness.h"

#include <map>
#include <memory>

#include "runtime/core/runtime_request.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/support_libraries.h"
#include "runtime/forms/type_lookup.h"
#include "tests/forms/live_component_fixture.h"

namespace forms::testing {
namespace {

std::map<uint32_t, const ComponentTypeRecord*> substitutes;

int32_t TestRequests(int32_t code, uint32_t value1, uint32_t value2) {
  if (code == rt::request::FindComponentType) {
    if (auto found = substitutes.find(value1); found != substitutes.end())
      return static_cast<int32_t>(reinterpret_cast<uint32_t>(found->second));
    const rt::SupportLibrary* const libraries[] = {&kStandardLibrary, &kTransparentLabelLibrary};
    return static_cast<int32_t>(reinterpret_cast<uint32_t>(FindComponentType(libraries, value1)));
  }
  return rt::RuntimeRequest(code, value1, value2);
}

}  // namespace

void InstallRuntime() {
  rt::KeepRequestFunction(&TestRequests);
  InstallFormRuntime();
}

void SubstituteType(uint32_t typeCode, const ComponentTypeRecord* type) {
  if (type != nullptr) substitutes[typeCode] = type;
  else substitutes.erase(typeCode);
}

Unit MakeUnit(uint32_t id, uint32_t typeCode, const char* name, RECT rect, uint32_t flags,
              std::vector<uint8_t> typeData, std::vector<EventBinding> events) {
  Unit unit;
  unit.id = id;
  unit.typeCode = typeCode;
  unit.name = name;
  unit.left = rect.left;
  unit.top = rect.top;
  unit.width = rect.right;
  unit.height = rect.bottom;
  unit.cursorData.assign(4, 0);
  unit.flags = flags;
  unit.typeData = std::move(typeData);
  unit.events = std::move(events);
  return unit;
}

std::vector<uint8_t> WindowData(const std::string& title, uint32_t startPosition) {
  ArchiveWriter out;
  out.U32(6);
  // border, picture mode, background, maximize, minimize, control box, start position, close box
  for (uint32_t value : {2u, 1u, 0xFF000000u, 0u, 1u, 1u, startPosition, 1u}) out.U32(value);
  for (uint32_t value : {0u, 0u, 1u, 0u, 0u, 1u, 0u, 0u, 0u, 0u}) out.U32(value);  // 14 .. 30
  out.LenText("");  // class
  out.LenBytes({});  // picture
  out.LenBytes({});  // icon
  out.LenBytes({});  // 13
  out.LenText(title);
  out.LenText("");
  return out.Data();
}

std::vector<uint8_t> ButtonData(const std::string& caption, const std::vector<uint8_t>& picture,
                                const std::vector<uint8_t>& font, uint32_t kind) {
  ArchiveWriter out;
  for (uint32_t value : {1u, kind, 1u, 1u}) out.U32(value);
  out.LenBytes(picture);
  out.LenBytes(font);
  out.LenText(caption);
  return out.Data();
}

std::vector<uint8_t> ComboData(uint32_t style, int32_t selection, const std::vector<std::string>& items,
                               uint32_t extraRowHeight) {
  ArchiveWriter out;
  out.U32(3);
  for (uint32_t value : {style, 0u, 0u, 0u, 0u, extraRowHeight, 0u, 0xFFFFFFu, static_cast<uint32_t>(selection)})
    out.U32(value);
  out.LenBytes({});  // font
  out.LenBytes({});  // item values
  out.LenText("");   // content
  out.TextList(items);
  out.LenText("");
  out.LenText("");
  out.U32(0);
  return out.Data();
}

WindowTemplate& UseWindow(std::vector<Unit> units) {
  ClearWindows();
  auto window = std::make_unique<WindowTemplate>();
  window->windowId = kWindowId;
  window->units = std::move(units);
  Forms().Windows().push_back(std::move(window));
  return *Forms().Windows().back();
}

void ClearWindows() {
  Forms().ClearWindowList();
  PumpFor(0);
}

}  // namespace forms::testing
