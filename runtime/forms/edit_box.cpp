#include "runtime/forms/edit_box.h"

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/core/gbk.h"
#include "runtime/core/gbk_positions.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/gbk_input_limit.h"
#include "runtime/forms/property_table.h"
#include "runtime/forms/system_theme.h"

namespace forms {
namespace {

constexpr uint32_t kHighestVersion = 2;

// Own property indices (the property index less 8).
namespace own {
enum : uint8_t {
  Content,
  Border,
  TextColour,
  Background,
  Font,
  HideSelection,
  MaxLength,
  MultiLine,
  ScrollBars,
  Alignment,
  InputMode,
  PasswordChar,
  LetterCase,
  Adjuster,
  AdjusterMin,
  AdjusterMax,
  SelectionStart,
  SelectionLength,
  Text26,
  Text27,
  Text28,
  Count
};
}  // namespace own

struct Properties {
  std::string content;               // 8
  uint32_t border = 1;               // 9: none, sunken, modal frame, static edge, both, single line
  uint32_t textColour = 0;           // 10
  uint32_t background = 0xFFFFFF;    // 11: 0xFF000000 is the button face
  std::vector<uint8_t> font;         // 12
  uint32_t hideSelection = 1;        // 13
  uint32_t maxLength = 0;            // 14: in bytes; 0 is the system's limit
  uint32_t multiLine = 0;            // 15
  uint32_t scrollBars = 0;           // 16: none, horizontal, vertical, both
  uint32_t alignment = 0;            // 17: left, centre, right
  uint32_t inputMode = 0;            // 18: normal, read-only, password
  uint16_t passwordChar = 42;        // 19: the asterisk; a double-byte character's lead byte high
  uint32_t letterCase = 0;           // 20: as typed, lower, upper
  uint32_t adjuster = 0;             // 21
  uint32_t adjusterMin = 0;          // 22
  uint32_t adjusterMax = 100;        // 23
  uint32_t selectionStart = 0;       // 24: in bytes of the GBK text
  uint32_t selectionLength = 0;      // 25: in bytes
  std::string text26, text27, text28;
  std::string passwordText;          // 19 as a text, as last written or read
};

// The edges a border style draws round the box; style 5 is a plain line (WS_BORDER) instead.
DWORD EdgesOf(const Properties& p) {
  constexpr DWORD kByBorder[] = {0, WS_EX_CLIENTEDGE, WS_EX_DLGMODALFRAME, WS_EX_STATICEDGE,
                                 WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0};
  return p.border < 6 ? kByBorder[p.border] : 0;
}

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

// The password character's code as GBK text: one byte, or a double-byte character's two.
std::string GbkOfCharCode(uint16_t code) {
  if (code == 0) return {};
  if (code <= 0xFF) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// The code of a text's first character, a double-byte one whole.
uint16_t CharCodeOfGbk(const std::string& text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<uint8_t>(text[0]);
  if (text.size() < 2 || !IsDBCSLeadByteEx(936, lead)) return lead;
  return static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(text[1]));
}

class EditBox final : public Component {
 public:
  EditBox(const CreateArguments& args, Properties properties)
      : Component(args.windowId, args.unitId), p_(std::move(properties)) {
    UsePropertyTable(kOwn, &p_);
  }
  ~EditBox() override {
    if (font_ != nullptr) DeleteObject(font_);
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

    // Made with its edges: the line of style 5 is added afterwards, as a later write adds it.
    const HWND window = CreateWindowExW(EdgesOf(p), L"EDIT", rt::WideFromGbk(p.content.c_str()).c_str(),
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
    self->ApplyTextLimit();
    if (self->p_.inputMode == 2) self->SendPasswordChar();
    self->SelectBytes(self->p_.selectionStart, self->p_.selectionLength);
    SendMessageW(window, EM_SCROLLCARET, 0, 0);
    return self;
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

  static const PropertyRow kRows[own::Count];
  static const OwnProperties kOwn;

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (InputPastGbkLimit(Window(), message, wParam)) {
      result = 0;
      return true;
    }
    if (message == kReflectBase + WM_COMMAND) {
      // A change made by application code is reported once, by ShowContent itself.
      if (HIWORD(wParam) == EN_CHANGE && !applicationChange_) RaiseEvent(0);
      result = 0;
      return true;
    }
    if (message == kReflectBase + WM_CTLCOLOREDIT || message == kReflectBase + WM_CTLCOLORSTATIC) {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      const BoxColours colours = BoxColoursOf(p_.textColour, p_.background);
      SetTextColor(dc, colours.text);
      SetBkColor(dc, colours.background);
      result = reinterpret_cast<LRESULT>(brush_.For(colours.background));
      return true;
    }
    return false;
  }

 private:
  // The live box's content and selection.
  void Refresh() {
    const std::wstring text = WindowTextWide(Window());
    p_.content = rt::GbkFromWide(text.c_str());
    LiveSelection(text, p_.selectionStart, p_.selectionLength);
  }

  // The box selects characters; its selection here counts bytes of the GBK text.
  void LiveSelection(const std::wstring& text, uint32_t& start, uint32_t& length) const {
    DWORD from = 0, to = 0;
    SendMessageW(Window(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = rt::GbkByteOffset(text, from);
    length = rt::GbkByteOffset(text, to) - start;
  }
  // A byte position inside a double-byte character selects from that character's start.
  void SelectBytes(uint32_t start, uint32_t length) {
    const std::wstring text = WindowTextWide(Window());
    SendMessageW(Window(), EM_SETSEL, rt::UnitOffsetOfGbkByte(text, start),
                 rt::UnitOffsetOfGbkByte(text, uint64_t{start} + length));
  }

  void ApplyBorder() {
    constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    const LONG_PTR currentEx = GetWindowLongPtrW(Window(), GWL_EXSTYLE);
    const LONG_PTR ex = (currentEx & ~static_cast<LONG_PTR>(kEdges)) | EdgesOf(p_);
    const LONG_PTR currentStyle = GetWindowLongPtrW(Window(), GWL_STYLE);
    const LONG_PTR style = (currentStyle & ~static_cast<LONG_PTR>(WS_BORDER)) | (p_.border == 5 ? WS_BORDER : 0);
    // A frame that is already right, as a new box's usually is, is not recalculated.
    if (ex == currentEx && style == currentStyle) return;
    SetWindowLongPtrW(Window(), GWL_EXSTYLE, ex);
    SetWindowLongPtrW(Window(), GWL_STYLE, style);
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void ApplyFont() { font_ = ApplyFontData(Window(), p_.font, font_); }
  // A limit in bytes (gbk_input_limit.h).
  void ApplyTextLimit() { SendMessageW(Window(), EM_LIMITTEXT, p_.maxLength, 0); }
  // The brush follows the colour when the box next paints.
  void ApplyBackground() { InvalidateRect(Window(), nullptr, TRUE); }

  void ShowContent() {
    applicationChange_ = true;
    SetWindowTextGbk(Window(), p_.content);
    applicationChange_ = false;
    RaiseEvent(0);
  }

  void Redraw() { InvalidateRect(Window(), nullptr, TRUE); }

  // The character is the text's first, a double-byte one whole.
  void ApplyPasswordChar() {
    p_.passwordChar = CharCodeOfGbk(p_.passwordText);
    if (p_.inputMode == 2) {
      SendPasswordChar();
      Redraw();
    }
  }
  void SendPasswordChar() {
    const std::wstring wide = rt::WideFromGbk(GbkOfCharCode(p_.passwordChar).c_str());
    SendMessageW(Window(), EM_SETPASSWORDCHAR, wide.empty() ? 0 : wide[0], 0);
  }
  RawValue PasswordText() {
    p_.passwordText = GbkOfCharCode(p_.passwordChar);
    return RawText(p_.passwordText);
  }

  // The selection is the live box's: a write moves one end of it, keeping its length when the
  // start moves.
  void ApplySelectionStart() {
    uint32_t start = 0, length = 0;
    LiveSelection(WindowTextWide(Window()), start, length);
    SelectBytes(p_.selectionStart, length);
  }
  void ApplySelectionLength() {
    uint32_t start = 0, length = 0;
    LiveSelection(WindowTextWide(Window()), start, length);
    SelectBytes(start, p_.selectionLength);
  }

  Properties p_;
  bool applicationChange_ = false;
  HFONT font_ = nullptr;
  BackgroundBrush brush_;
};

// Every read first takes the live box's content and selection. Hiding the selection, multi-line,
// scroll bars, alignment, input mode and letter case are styles fixed at creation.
constexpr PropertyRow EditBox::kRows[own::Count] = {
    Stored(own::Content, kind::Text, offsetof(Properties, content), Apply<&EditBox::ShowContent>),
    Stored(own::Border, kind::Choice, offsetof(Properties, border), Apply<&EditBox::ApplyBorder>),
    Stored(own::TextColour, kind::Colour, offsetof(Properties, textColour), Apply<&EditBox::Redraw>),
    Stored(own::Background, kind::ColourOrDefault, offsetof(Properties, background), Apply<&EditBox::ApplyBackground>),
    Stored(own::Font, kind::Font, offsetof(Properties, font), Apply<&EditBox::ApplyFont>),
    Stored(own::HideSelection, kind::Logical, offsetof(Properties, hideSelection)).Rebuilds(),
    Stored(own::MaxLength, kind::Integer, offsetof(Properties, maxLength), Apply<&EditBox::ApplyTextLimit>),
    Stored(own::MultiLine, kind::Logical, offsetof(Properties, multiLine)).Rebuilds(),
    Stored(own::ScrollBars, kind::Choice, offsetof(Properties, scrollBars)).Rebuilds(),
    Stored(own::Alignment, kind::Choice, offsetof(Properties, alignment)).Rebuilds(),
    Stored(own::InputMode, kind::Choice, offsetof(Properties, inputMode)).Rebuilds(),
    Stored(own::PasswordChar, kind::Text, offsetof(Properties, passwordText), Apply<&EditBox::ApplyPasswordChar>).ReadsLive(ReadLive<&EditBox::PasswordText>),
    Stored(own::LetterCase, kind::Choice, offsetof(Properties, letterCase)).Rebuilds(),
    Stored(own::Adjuster, kind::Choice, offsetof(Properties, adjuster)),
    Stored(own::AdjusterMin, kind::Integer, offsetof(Properties, adjusterMin)),
    Stored(own::AdjusterMax, kind::Integer, offsetof(Properties, adjusterMax)),
    Stored(own::SelectionStart, kind::Integer, offsetof(Properties, selectionStart), Apply<&EditBox::ApplySelectionStart>),
    Stored(own::SelectionLength, kind::Integer, offsetof(Properties, selectionLength), Apply<&EditBox::ApplySelectionLength>),
    Stored(own::Text26, kind::Text, offsetof(Properties, text26)),
    Stored(own::Text27, kind::Text, offsetof(Properties, text27)),
    Stored(own::Text28, kind::Text, offsetof(Properties, text28)),
};
constexpr auto kProperties = PropertyTable(0x8000, EditBox::kRows);
constexpr OwnProperties EditBox::kOwn = {kRows, own::Count, Apply<&EditBox::Refresh>};

}  // namespace

const ComponentTypeRecord kEditBoxType = {
    "编辑框", "EditBox", 0, 0, 0, 0x80000040, 0, 0, 0,
    static_cast<uint32_t>(kProperties.size()), kProperties.data(),
    &StandardUnitInterface<&EditBox::Create, &WriteByTable, &EditBox::CurrentData, &ReadByTable>,
    0, 0};

}  // namespace forms
