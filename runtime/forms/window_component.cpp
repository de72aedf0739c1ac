#include "runtime/forms/window_component.h"

#include <cstddef>
#include <cstring>

#include "runtime/core/gbk.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/runtime_request.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/event_record.h"
#include "runtime/forms/keyboard_focus.h"
#include "runtime/forms/picture_data.h"
#include "runtime/forms/system_theme.h"

namespace forms {
namespace {

constexpr uint32_t kHighestVersion = 6;
constexpr wchar_t kDefaultClass[] = L"PvWindow";

// Own property indices (the property index less 8).
namespace own {
enum : uint8_t {
  Title,
  BorderStyle,
  Background,
  Picture,
  PictureMode,
  Data13,
  Value14,
  ControlBox,
  MaximizeBox,
  MinimizeBox,
  StartPosition,
  CloseBox,
  Icon,
  Value21,
  Value22,
  Value23,
  Text24,
  Value25,
  ShowInTaskBar,
  Value27,
  Value28,
  AlwaysOnTop,
  Value30,
  ClassName,
  Count
};
}  // namespace own

bool ReadProperties(std::span<const uint8_t> typeData, WindowComponent::Properties& p) {
  if (typeData.empty()) return true;
  ArchiveReader in(typeData);
  uint32_t version = 0;
  if (!in.U32(version) || version > kHighestVersion) return false;
  in.U32(p.borderStyle);
  in.U32(p.pictureMode);
  in.U32(p.background);
  in.U32(p.maximizeBox);
  in.U32(p.minimizeBox);
  in.U32(p.controlBox);
  in.U32(p.startPosition);
  in.U32(p.closeBox);
  in.U32(p.value14);
  in.U32(p.value21);
  in.U32(p.value22);
  in.U32(p.value23);
  in.U32(p.value25);
  if (version >= 2) in.U32(p.showInTaskBar);
  if (version >= 3) {
    in.U32(p.value27);
    in.U32(p.value28);
  }
  if (version >= 4) in.U32(p.alwaysOnTop);
  if (version >= 5) in.U32(p.value30);
  if (version >= 6) in.LenText(p.className);
  in.LenBytes(p.picture);
  in.LenBytes(p.icon);
  in.LenBytes(p.data13);
  in.LenText(p.title);
  in.LenText(p.text24);
  return !in.Failed();
}

std::vector<uint8_t> WriteProperties(const WindowComponent::Properties& p) {
  ArchiveWriter out;
  out.U32(kHighestVersion);
  for (uint32_t value : {p.borderStyle, p.pictureMode, p.background, p.maximizeBox, p.minimizeBox,
                         p.controlBox, p.startPosition, p.closeBox, p.value14, p.value21,
                         p.value22, p.value23, p.value25, p.showInTaskBar, p.value27, p.value28,
                         p.alwaysOnTop, p.value30})
    out.U32(value);
  out.LenText(p.className);
  out.LenBytes(p.picture);
  out.LenBytes(p.icon);
  out.LenBytes(p.data13);
  out.LenText(p.title);
  out.LenText(p.text24);
  return std::move(out.Data());
}

bool HasSizingFrame(uint32_t borderStyle) {
  return borderStyle == 1 || borderStyle == 3 || borderStyle == 5;
}

// The executable's own icon: its first icon group.
struct IconSearch {
  int size;
  HICON icon;
};
BOOL CALLBACK LoadFirstIcon(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR search) {
  auto* found = reinterpret_cast<IconSearch*>(search);
  found->icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, found->size, found->size, 0));
  return FALSE;
}
HICON ApplicationIcon(int size) {
  IconSearch search = {size, nullptr};
  EnumResourceNamesW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(14),  // icon groups
                     &LoadFirstIcon, reinterpret_cast<LONG_PTR>(&search));
  return search.icon;
}

std::string readBuffer;  // what a text read hands out until the next read

}  // namespace

WindowStyles StylesOf(const WindowComponent::Properties& p, DWORD baseStyle, bool topLevel) {
  DWORD style = baseStyle | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  if (p.borderStyle != 0) {
    if (!p.title.empty() || p.controlBox != 0) style |= WS_CAPTION;
    if (p.controlBox != 0) style |= WS_SYSMENU;
    if (topLevel) style |= WS_DLGFRAME;
    if (HasSizingFrame(p.borderStyle)) style |= WS_THICKFRAME;
    if (p.borderStyle == 3 || p.borderStyle == 4) exStyle |= WS_EX_TOOLWINDOW;
    if (p.borderStyle == 5 || p.borderStyle == 6) exStyle |= WS_EX_CLIENTEDGE;
  }
  if (p.maximizeBox == 1) style |= WS_MAXIMIZEBOX;
  if (p.minimizeBox == 1) style |= WS_MINIMIZEBOX;
  return {style, exStyle};
}

Component* WindowComponent::Create(const CreateArguments& args) {
  Properties p;
  if (!ReadProperties({args.typeData, args.typeDataLength}, p)) return nullptr;

  const bool asChild = args.extra2 != 0;
  const bool topLevel = !asChild;
  WindowStyles styles = StylesOf(p, args.baseStyle, topLevel);
  // A window without a caption must say so, or the system gives it one.
  if (asChild) styles.style |= WS_CHILD;
  else if (args.parent != nullptr || (styles.style & WS_CAPTION) != WS_CAPTION) styles.style |= WS_POPUP;

  int32_t left = args.left, top = args.top;
  if (topLevel) {
    if (p.startPosition == 1) {
      left = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
      top = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
    } else if (p.startPosition == 2) {
      styles.style |= WS_MINIMIZE;
    } else if (p.startPosition == 3 && HasSizingFrame(p.borderStyle)) {
      styles.style |= WS_MAXIMIZE;
    }
  }

  HWND owner = args.parent;
  const bool modal = args.extra1 != 0;
  if (owner == nullptr && topLevel && (modal || p.showInTaskBar == 0))
    owner = static_cast<HWND>(rt::Runtime().HiddenOwnerWindow());

  const std::wstring className = p.className.empty() ? kDefaultClass : rt::WideFromGbk(p.className.c_str());
  if (!EnsureWindowClass(className.c_str(), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) {
    if (args.controlId != 0 && !asChild) DestroyMenu(reinterpret_cast<HMENU>(args.controlId));
    return nullptr;
  }
  const HWND window = CreateWindowExW(
      styles.exStyle, className.c_str(), rt::WideFromGbk(p.title.c_str()).c_str(), styles.style,
      left, top, args.width, args.height, owner, reinterpret_cast<HMENU>(args.controlId),
      GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    if (args.controlId != 0 && !asChild) DestroyMenu(reinterpret_cast<HMENU>(args.controlId));
    return nullptr;
  }
  RECT made;
  GetWindowRect(window, &made);
  if (made.right - made.left != args.width || made.bottom - made.top != args.height)
    MoveWindow(window, left, top, args.width, args.height, FALSE);

  auto* self = new WindowComponent(args.windowId, args.unitId, std::move(p));
  self->topLevel_ = topLevel;
  self->Attach(window);
  self->ApplyFrame();
  self->ApplyIcons();
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
  if (self->properties_.alwaysOnTop != 0)
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  self->ApplyCloseBox();
  return self;
}

WindowComponent::~WindowComponent() {
  if (largeIcon_ != nullptr) DestroyIcon(largeIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

void WindowComponent::ApplyFrame() {
  constexpr DWORD kFrameBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
  const WindowStyles styles = StylesOf(properties_, 0, topLevel_);
  const LONG_PTR current = GetWindowLongPtrW(Window(), GWL_STYLE);
  const LONG_PTR style = (current & ~static_cast<LONG_PTR>(kFrameBits)) | (styles.style & kFrameBits);
  // A frame that is already right, as a new window's usually is, is not recalculated: that would
  // cost the window system a round of non-client messages before the window shows.
  if (style == current) return;
  SetWindowLongPtrW(Window(), GWL_STYLE, style);
  SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowComponent::ApplyIcons() {
  const int large = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
  HICON newLarge = properties_.icon.empty() ? ApplicationIcon(large) : IconFromFile(properties_.icon, large);
  HICON newSmall = properties_.icon.empty() ? ApplicationIcon(small) : IconFromFile(properties_.icon, small);
  SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newLarge));
  SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(newSmall));
  if (largeIcon_ != nullptr) DestroyIcon(largeIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  largeIcon_ = newLarge;
  smallIcon_ = newSmall;
}

// Asking for the window's system menu makes the window a copy of its own: only a window without
// a close box needs one.
void WindowComponent::ApplyCloseBox() {
  if (properties_.closeBox != 0) return;
  if (HMENU menu = GetSystemMenu(Window(), FALSE)) DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
}

int WindowComponent::ShowCommand() const {
  if (properties_.startPosition == 2) return SW_SHOWMINIMIZED;
  if (properties_.startPosition == 3 && HasSizingFrame(properties_.borderStyle)) return SW_SHOWMAXIMIZED;
  return SW_SHOWNORMAL;
}

void WindowComponent::PaintBackground(HDC dc, const RECT& area) const {
  // The background picture is not drawn: the colour fills the whole area.
  const bool system = properties_.background == 0xFF000000;
  HBRUSH brush = system ? GetSysColorBrush(COLOR_BTNFACE) : CreateSolidBrush(properties_.background);
  FillRect(dc, &area, brush);
  if (!system) DeleteObject(brush);
}

bool WindowComponent::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT area;
      GetClipBox(reinterpret_cast<HDC>(wParam), &area);
      PaintBackground(reinterpret_cast<HDC>(wParam), area);
      result = 1;
      return true;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      // Notifications go back to the control that sent them.
      if (lParam != 0 && IsChild(Window(), reinterpret_cast<HWND>(lParam))) {
        result = SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam, lParam);
        if (message == WM_COMMAND || result != 0) return true;
      }
      return false;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header != nullptr && IsChild(Window(), header->hwndFrom)) {
        result = SendMessageW(header->hwndFrom, kReflectBase + message, wParam, lParam);
        return true;
      }
      return false;
    }
    case WM_CLOSE: {
      // A handler of event 12 or 1 that answers 0 keeps the window open.
      for (int32_t number : {12, 1}) {
        EventRecord record = {};
        record.windowId = WindowId();
        record.unitId = UnitId();
        record.number = number;
        rt::LibraryRequest(rt::request::RaiseEvent, reinterpret_cast<uint32_t>(&record));
        if (record.resultPresent != 0 && record.result == 0) {
          result = 0;
          return true;
        }
      }
      // The windows a modal load disabled come back before this one goes, so that the system
      // hands the activation to one of them.
      rt::LibraryRequest(rt::request::WindowClosing, WindowId());
      return false;
    }
    case WM_ACTIVATE:
      // The window keeps its controls' focus over being inactive, as a dialog does; the system
      // alone would leave it on the window itself, where no key does anything.
      if (LOWORD(wParam) == WA_INACTIVE) {
        NoteFocus(GetFocus());
        WindowDeactivated(GetFocus());
        return false;
      }
      if (HIWORD(wParam) != 0) return false;  // minimized: nothing to focus
      if (GiveFocusBack(*this)) {
        result = 0;
        return true;
      }
      return false;
    case DM_GETDEFID:
      // Asked by the dialog manager when Enter reaches a control that is not the default push
      // button, and after Tab to settle which button draws as the default.
      if (const HWND button = EnterButton(*this)) {
        result = MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
        return true;
      }
      result = 0;
      return true;
    case WM_DESTROY:
      RaiseEvent(2);
      return false;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      FollowThemeChange(Window(), message);
      return false;
    case WM_MOVE:
      result = CallOriginal(message, wParam, lParam);
      RaiseEvent(3);
      return true;
    case WM_SIZE:
      result = CallOriginal(message, wParam, lParam);
      RaiseEvent(4);
      return true;
    default:
      return false;
  }
}

HGLOBAL WindowComponent::CurrentData(Component* object) {
  return GlobalBlockOf(WriteProperties(static_cast<WindowComponent*>(object)->properties_));
}

void WindowComponent::ApplyStartPosition() {
  if (properties_.startPosition == 2) ShowWindow(Window(), SW_MINIMIZE);
  if (properties_.startPosition == 3) ShowWindow(Window(), SW_MAXIMIZE);
}

void WindowComponent::ApplyAlwaysOnTop() {
  SetWindowPos(Window(), properties_.alwaysOnTop != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowComponent::ShowTitle() { SetWindowTextGbk(Window(), properties_.title); }

void WindowComponent::Redraw() { InvalidateRect(Window(), nullptr, TRUE); }

RawValue WindowComponent::LiveTitle() {
  readBuffer = WindowTextGbk(Window());
  return RawText(readBuffer);
}

// Minimized or maximized as the window is now, else 0.
RawValue WindowComponent::LiveStartPosition() {
  return {IsIconic(Window()) ? 2u : IsZoomed(Window()) ? 3u : 0u, 0};
}

// The class name takes effect when the window is next created.
constexpr PropertyRow WindowComponent::kRows[own::Count] = {
    Stored(own::Title, kind::Text, offsetof(Properties, title), Apply<&WindowComponent::ShowTitle>).ReadsLive(ReadLive<&WindowComponent::LiveTitle>),
    Stored(own::BorderStyle, kind::Choice, offsetof(Properties, borderStyle), Apply<&WindowComponent::ApplyFrame>),
    Stored(own::Background, kind::ColourOrDefault, offsetof(Properties, background), Apply<&WindowComponent::Redraw>),
    Stored(own::Picture, kind::Picture, offsetof(Properties, picture), Apply<&WindowComponent::Redraw>),
    Stored(own::PictureMode, kind::Choice, offsetof(Properties, pictureMode), Apply<&WindowComponent::Redraw>),
    Stored(own::Data13, kind::Binary, offsetof(Properties, data13)),
    Stored(own::Value14, kind::Choice, offsetof(Properties, value14)),
    Stored(own::ControlBox, kind::Logical, offsetof(Properties, controlBox), Apply<&WindowComponent::ApplyFrame>),
    Stored(own::MaximizeBox, kind::Logical, offsetof(Properties, maximizeBox), Apply<&WindowComponent::ApplyFrame>),
    Stored(own::MinimizeBox, kind::Logical, offsetof(Properties, minimizeBox), Apply<&WindowComponent::ApplyFrame>),
    Stored(own::StartPosition, kind::Choice, offsetof(Properties, startPosition), Apply<&WindowComponent::ApplyStartPosition>).ReadsLive(ReadLive<&WindowComponent::LiveStartPosition>),
    Stored(own::CloseBox, kind::Logical, offsetof(Properties, closeBox), Apply<&WindowComponent::ApplyCloseBox>),
    Stored(own::Icon, kind::Icon, offsetof(Properties, icon), Apply<&WindowComponent::ApplyIcons>),
    Stored(own::Value21, kind::Logical, offsetof(Properties, value21)),
    Stored(own::Value22, kind::Logical, offsetof(Properties, value22)),
    Stored(own::Value23, kind::Logical, offsetof(Properties, value23)),
    Stored(own::Text24, kind::Text2, offsetof(Properties, text24)),
    Stored(own::Value25, kind::Integer, offsetof(Properties, value25)),
    Stored(own::ShowInTaskBar, kind::Logical, offsetof(Properties, showInTaskBar)),
    Stored(own::Value27, kind::Logical, offsetof(Properties, value27)),
    Stored(own::Value28, kind::Choice, offsetof(Properties, value28)),
    Stored(own::AlwaysOnTop, kind::Logical, offsetof(Properties, alwaysOnTop), Apply<&WindowComponent::ApplyAlwaysOnTop>),
    Stored(own::Value30, kind::Logical, offsetof(Properties, value30)),
    Stored(own::ClassName, kind::Text, offsetof(Properties, className)),
};
constexpr OwnProperties WindowComponent::kOwn = {kRows, own::Count, nullptr};

namespace {
constexpr auto kProperties = PropertyTable(0x8000, WindowComponent::kRows);
}  // namespace

const ComponentTypeRecord kWindowType = {
    "窗口", "window", 0, 0, 0, 0x800000D0, 0, 0, 0,
    static_cast<uint32_t>(kProperties.size()), kProperties.data(),
    &StandardUnitInterface<&WindowComponent::Create, &WriteByTable, &WindowComponent::CurrentData,
                           &ReadByTable>,
    0, 0};

}  // namespace forms
