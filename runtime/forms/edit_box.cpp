#include "runtime/forms/edit_box.h"

#include <string>
#include <vector>

#include "runtime/core/gbk.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/font_data.h"

namespace forms {
namespace {

constexpr uint32_t kHighestVersion = 2;

constexpr uint16_t kOwnKinds[] = {
    kind::Text,    kind::Choice,  kind::Colour,  kind::ColourOrDefault, kind::Font,     // 8-12
    kind::Logical, kind::Integer, kind::Logical, kind::Choice,          kind::Choice,   // 13-17
    kind::Choice,  kind::Text,    kind::Choice,  kind::Choice,          kind::Integer,  // 18-22
    kind::Integer, kind::Integer, kind::Integer, kind::Text,            kind::Text,     // 23-27
    kind::Text};                                                                        // 28
constexpr auto kProperties = PropertyTable(0x8000, kOwnKinds);

struct Properties {
  std::string content;               // 8
  uint32_t border = 1;               // 9: none, sunken, modal frame, static edge, both, single line
  uint32_t textColour = 0;           // 10
  uint32_t background = 0xFFFFFF;    // 11: 0xFF000000 is the button face
  std::vector<uint8_t> font;         // 12
  uint32_t hideSelection = 1;        // 13
  uint32_t maxLength = 0;            // 14: 0 is the system's limit
  uint32_t multiLine = 0;            // 15
  uint32_t scrollBars = 0;           // 16: none, horizontal, vertical, both
  uint32_t alignment = 0;            // 17: left, centre, right
  uint32_t inputMode = 0;            // 18: normal, read-only, password
  uint16_t passwordChar = 42;        // 19: the asterisk
  uint32_t letterCase = 0;           // 20: as typed, lower, upper
  uint32_t adjuster = 0;             // 21
  uint32_t adjusterMin = 0;          // 22
  uint32_t adjusterMax = 100;        // 23
  uint32_t selectionStart = 0;       // 24
  uint32_t selectionLength = 0;      // 25
  std::string text26, text27, text28;
};

DWORD StyleOf(const Properties& p, DWORD baseStyle) {
  DWORD style = baseStyle | WS_CHILD | WS_CLIPSIBLINGS;
  if (p.hideSelection == 0) style |= ES_NOHIDESEL;
  if (p.multiLine == 0) {
    style |= ES_AUTOHSCROLL;
  } else {
    style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (p.scrollBars & 1) style |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (p.scrollBars & 2) style |= WS_VSCROLL;
  }
  if (p.alignment == 1) style |= ES_CENTER;
  if (p.alignment == 2) style |= ES_RIGHT;
  if (p.inputMode == 1) style |= ES_READONLY;
  if (p.inputMode == 2) style |= ES_PASSWORD;
  if (p.letterCase == 1) style |= ES_LOWERCASE;
  if (p.letterCase == 2) style |= ES_UPPERCASE;
  return style;
}

class EditBox final : public Component {
 public:
  EditBox(const CreateArguments& args, Properties properties)
      : Component(args.windowId, args.unitId), p_(std::move(properties)) {}
  ~EditBox() override {
    if (font_ != nullptr) DeleteObject(font_);
    if (brush_ != nullptr) DeleteObject(brush_);
  }

  static Component* Create(const CreateArguments& args) {
    Properties p;
    if (args.typeDataLength > 0) {  // else every property keeps its default
      ArchiveReader in({args.typeData, args.typeDataLength});
      uint32_t version = 0;
      if (!in.U32(version) || version > kHighestVersion) return nullptr;
      for (uint32_t* field : {&p.border, &p.textColour, &p.background, &p.hideSelection,
                              &p.maxLength, &p.multiLine, &p.scrollBars, &p.alignment, &p.inputMode})
        in.U32(*field);
      in.U16(p.passwordChar);
      for (uint32_t* field : {&p.letterCase, &p.adjuster, &p.adjusterMin, &p.adjusterMax,
                              &p.selectionStart, &p.selectionLength})
        in.U32(*field);
      in.LenBytes(p.font);
      in.LenText(p.content);
      if (version >= 2) {
        in.LenText(p.text27);
        in.LenText(p.text28);
      }
      if (in.Failed()) return nullptr;
    }

    const HWND window = CreateWindowExW(0, L"EDIT", rt::WideFromGbk(p.content.c_str()).c_str(),
                                        StyleOf(p, args.baseStyle), args.left, args.top,
                                        args.width, args.height, args.parent,
                                        reinterpret_cast<HMENU>(args.controlId),
                                        GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    auto* self = new EditBox(args, std::move(p));
    self->Attach(window);
    self->ApplyBorder();
    self->ApplyFont();
    self->ApplyBackground();
    SendMessageW(window, EM_LIMITTEXT, self->p_.maxLength, 0);
    if (self->p_.inputMode == 2) SendMessageW(window, EM_SETPASSWORDCHAR, self->p_.passwordChar, 0);
    SendMessageW(window, EM_SETSEL, self->p_.selectionStart,
                 self->p_.selectionStart + self->p_.selectionLength);
    SendMessageW(window, EM_SCROLLCARET, 0, 0);
    return self;
  }

  static int32_t Write(Component* object, int32_t ownIndex, const RawValue* value, uint32_t*) {
    auto* self = static_cast<EditBox*>(object);
    Properties& p = self->p_;
    const uint32_t word = value->low;
    const char* text = TextOf(*value);
    switch (ownIndex + kCommonPropertyCount) {
      case 8: self->SetContent(text); return 0;
      case 9: p.border = word; self->ApplyBorder(); return 0;
      case 10: p.textColour = word; InvalidateRect(self->Window(), nullptr, TRUE); return 0;
      case 11: p.background = word; self->ApplyBackground(); return 0;
      case 12: p.font = BytesOf(*value); self->ApplyFont(); return 0;
      case 13: p.hideSelection = word; return 1;
      case 14: p.maxLength = word; SendMessageW(self->Window(), EM_LIMITTEXT, word, 0); return 0;
      case 15: p.multiLine = word; return 1;
      case 16: p.scrollBars = word; return 1;
      case 17: p.alignment = word; return 1;
      case 18: p.inputMode = word; return 1;
      case 19:
        p.passwordChar = static_cast<uint8_t>(text[0]);
        if (p.inputMode == 2) {
          SendMessageW(self->Window(), EM_SETPASSWORDCHAR, p.passwordChar, 0);
          InvalidateRect(self->Window(), nullptr, TRUE);
        }
        return 0;
      case 20: p.letterCase = word; return 1;
      case 21: p.adjuster = word; return 0;
      case 22: p.adjusterMin = word; return 0;
      case 23: p.adjusterMax = word; return 0;
      case 24:
      case 25: {
        DWORD start = 0, end = 0;
        SendMessageW(self->Window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (ownIndex + kCommonPropertyCount == 24) {
          end = word + (end - start);
          start = word;
        } else {
          end = start + word;
        }
        SendMessageW(self->Window(), EM_SETSEL, start, end);
        return 0;
      }
      case 26: p.text26 = text; return 0;
      case 27: p.text27 = text; return 0;
      case 28: p.text28 = text; return 0;
      default: return 0;
    }
  }

  static HGLOBAL CurrentData(Component* object) {
    auto* self = static_cast<EditBox*>(object);
    self->Refresh();
    const Properties& p = self->p_;
    ArchiveWriter out;
    out.U32(kHighestVersion);
    for (uint32_t field : {p.border, p.textColour, p.background, p.hideSelection, p.maxLength,
                           p.multiLine, p.scrollBars, p.alignment, p.inputMode})
      out.U32(field);
    out.U16(p.passwordChar);
    for (uint32_t field : {p.letterCase, p.adjuster, p.adjusterMin, p.adjusterMax,
                           p.selectionStart, p.selectionLength})
      out.U32(field);
    out.LenBytes(p.font);
    out.LenText(p.content);
    out.LenText(p.text27);
    out.LenText(p.text28);
    return GlobalBlockOf(out.Data());
  }

  static int32_t Read(Component* object, int32_t ownIndex, RawValue* result) {
    auto* self = static_cast<EditBox*>(object);
    self->Refresh();
    const Properties& p = self->p_;
    const auto text = [&](const std::string& t) { *result = RawText(t); };
    switch (ownIndex + kCommonPropertyCount) {
      case 8: text(p.content); break;
      case 9: *result = {p.border, 0}; break;
      case 10: *result = {p.textColour, 0}; break;
      case 11: *result = {p.background, 0}; break;
      case 12: *result = RawBytes(p.font); break;
      case 13: *result = {p.hideSelection, 0}; break;
      case 14: *result = {p.maxLength, 0}; break;
      case 15: *result = {p.multiLine, 0}; break;
      case 16: *result = {p.scrollBars, 0}; break;
      case 17: *result = {p.alignment, 0}; break;
      case 18: *result = {p.inputMode, 0}; break;
      case 19:
        self->passwordText_ = std::string(1, static_cast<char>(p.passwordChar));
        text(self->passwordText_);
        break;
      case 20: *result = {p.letterCase, 0}; break;
      case 21: *result = {p.adjuster, 0}; break;
      case 22: *result = {p.adjusterMin, 0}; break;
      case 23: *result = {p.adjusterMax, 0}; break;
      case 24: *result = {p.selectionStart, 0}; break;
      case 25: *result = {p.selectionLength, 0}; break;
      case 26: text(p.text26); break;
      case 27: text(p.text27); break;
      case 28: text(p.text28); break;
      default: return 0;
    }
    return 1;
  }

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message == kReflectBase + WM_COMMAND) {
      // A change made by application code is reported once, by SetContent itself.
      if (HIWORD(wParam) == EN_CHANGE && !applicationChange_) RaiseEvent(0);
      result = 0;
      return true;
    }
    if (message == kReflectBase + WM_CTLCOLOREDIT || message == kReflectBase + WM_CTLCOLORSTATIC) {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, p_.textColour);
      SetBkColor(dc, p_.background == 0xFF000000 ? GetSysColor(COLOR_BTNFACE) : p_.background);
      result = reinterpret_cast<LRESULT>(brush_);
      return true;
    }
    return false;
  }

 private:
  void SetContent(const char* text) {
    p_.content = text;
    applicationChange_ = true;
    SetWindowTextGbk(Window(), p_.content);
    applicationChange_ = false;
    RaiseEvent(0);
  }

  // The live box's content and selection.
  void Refresh() {
    p_.content = WindowTextGbk(Window());
    DWORD start = 0, end = 0;
    SendMessageW(Window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    p_.selectionStart = start;
    p_.selectionLength = end - start;
  }

  void ApplyBorder() {
    constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    constexpr DWORD kByBorder[] = {0, WS_EX_CLIENTEDGE, WS_EX_DLGMODALFRAME, WS_EX_STATICEDGE,
                                   WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0};
    const LONG_PTR ex = GetWindowLongPtrW(Window(), GWL_EXSTYLE) & ~static_cast<LONG_PTR>(kEdges);
    SetWindowLongPtrW(Window(), GWL_EXSTYLE, ex | (p_.border < 6 ? kByBorder[p_.border] : 0));
    const LONG_PTR style = GetWindowLongPtrW(Window(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
    SetWindowLongPtrW(Window(), GWL_STYLE, style | (p_.border == 5 ? WS_BORDER : 0));
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void ApplyFont() { font_ = ApplyFontData(Window(), p_.font, font_); }

  void ApplyBackground() {
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = CreateSolidBrush(p_.background == 0xFF000000 ? GetSysColor(COLOR_BTNFACE) : p_.background);
    InvalidateRect(Window(), nullptr, TRUE);
  }

  Properties p_;
  bool applicationChange_ = false;
  HFONT font_ = nullptr;
  HBRUSH brush_ = nullptr;
  std::string passwordText_;
};

}  // namespace

const ComponentTypeRecord kEditBoxType = {
    "编辑框", "EditBox", 0, 0, 0, 0x80000040, 0, 0, 0,
    static_cast<uint32_t>(kProperties.size()), kProperties.data(),
    &StandardUnitInterface<&EditBox::Create, &EditBox::Write, &EditBox::CurrentData, &EditBox::Read>,
    0, 0};

}  // namespace forms
