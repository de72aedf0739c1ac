#include "runtime/forms/combo_box.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/core/gbk.h"
#include "runtime/core/gbk_positions.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/display_scale.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/gbk_input_limit.h"
#include "runtime/forms/property_table.h"
#include "runtime/forms/system_theme.h"

namespace forms {
namespace {

constexpr uint32_t kHighestVersion = 3;
// The height of an opened list: the closed box keeps the system's height.
constexpr int32_t kMinimumListHeight = 160;

// Own property indices (the property index less 8).
namespace own {
enum : uint8_t {
  Style,
  Content,
  MaxLength,
  SelectionStart,
  SelectionLength,
  Text13,
  Sorted,
  ExtraRowHeight,
  TextColour,
  Background,
  Font,
  Selection,
  Items,
  ItemValues,
  Text22,
  Text23,
  Value24,
  Count
};
}  // namespace own

// The list's items as one text, each item on its own line.
constexpr char kItemSeparator[] = "\r\n";

struct Properties {
  uint32_t style = 1;              // 8: simple, drop-down, drop-down list
  std::string content;             // 9
  uint32_t maxLength = 0;          // 10: in bytes; 0 is no limit
  uint32_t selectionStart = 0;     // 11: in bytes of the GBK text
  uint32_t selectionLength = 0;    // 12: in bytes
  std::string text13;              // 13
  uint32_t sorted = 0;             // 14
  uint32_t extraRowHeight = 1;     // 15
  uint32_t textColour = 0;         // 16
  uint32_t background = 0xFFFFFF;  // 17
  std::vector<uint8_t> font;       // 18
  int32_t selection = -1;          // 19
  std::vector<std::string> items;  // 20
  std::vector<uint8_t> itemValues; // 21: one 32-bit value per item
  std::string itemsText;           // 20 as one text, as last written or read
  std::string text22, text23;      // 22, 23
  uint32_t value24 = 0;            // 24
};

class ComboBox final : public Component {
 public:
  ComboBox(const CreateArguments& args, Properties properties)
      : Component(args.windowId, args.unitId), p_(std::move(properties)) {
    UsePropertyTable(kOwn, &p_);
  }
  ~ComboBox() override {
    if (font_ != nullptr) DeleteObject(font_);
  }

  static Component* Create(const CreateArguments& args) {
    Properties p;
    if (args.typeDataLength > 0) {  // else every property keeps its default
      ArchiveReader in({args.typeData, args.typeDataLength});
      uint32_t version = 0, selection = 0;
      if (!in.U32(version) || version > kHighestVersion) return nullptr;
      for (uint32_t* field : {&p.style, &p.maxLength, &p.selectionStart, &p.selectionLength,
                              &p.sorted, &p.extraRowHeight, &p.textColour, &p.background, &selection})
        in.U32(*field);
      p.selection = static_cast<int32_t>(selection);
      in.LenBytes(p.font);
      in.LenBytes(p.itemValues);
      in.LenText(p.content);
      in.TextList(p.items);
      if (version >= 2) {
        in.LenText(p.text22);
        in.LenText(p.text23);
      }
      if (version >= 3) in.U32(p.value24);
      if (in.Failed()) return nullptr;
    }

    constexpr DWORD kStyles[] = {CBS_SIMPLE, CBS_DROPDOWN, CBS_DROPDOWNLIST};
    const DWORD style = args.baseStyle | WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL |
                        (p.style < 3 ? kStyles[p.style] : CBS_DROPDOWN) | (p.sorted == 1 ? CBS_SORT : 0);
    const int32_t height =
        p.style == 0 ? args.height : std::max(args.height, ToDisplay(kMinimumListHeight));
    const HWND window = CreateWindowExW(0, L"COMBOBOX", L"", style, args.left, args.top, args.width,
                                        height, args.parent, reinterpret_cast<HMENU>(args.controlId),
                                        GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    auto* self = new ComboBox(args, std::move(p));
    self->Attach(window);
    // The edit part of a simple or drop-down box takes the user's typing.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(window, &info) && info.hwndItem != nullptr && info.hwndItem != window)
      KeepGbkInputLimit(info.hwndItem);
    self->ApplyFont();
    self->ApplyBackground();
    self->Fill();
    return self;
  }

  int32_t AddItem(const char* text, bool hasValue, uint32_t value) {
    const LRESULT index = SendMessageW(Window(), CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(rt::WideFromGbk(text).c_str()));
    if (index == CB_ERR || index == CB_ERRSPACE) return -1;
    SendMessageW(Window(), CB_SETITEMDATA, static_cast<WPARAM>(index), hasValue ? value : 0);
    return static_cast<int32_t>(index);
  }

  static HGLOBAL CurrentData(Component* object) {
    auto* self = static_cast<ComboBox*>(object);
    self->Refresh();
    const Properties& p = self->p_;
    ArchiveWriter out;
    out.U32(kHighestVersion);
    for (uint32_t field : {p.style, p.maxLength, p.selectionStart, p.selectionLength, p.sorted,
                           p.extraRowHeight, p.textColour, p.background,
                           static_cast<uint32_t>(p.selection)})
      out.U32(field);
    out.LenBytes(p.font);
    out.LenBytes(p.itemValues);
    out.LenText(p.content);
    out.TextList(p.items);
    out.LenText(p.text22);
    out.LenText(p.text23);
    out.U32(p.value24);
    return GlobalBlockOf(out.Data());
  }

  static const PropertyRow kRows[own::Count];
  static const OwnProperties kOwn;

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    // The colours of the box's own parts (from its children) and of its closed face (reflected).
    switch (message) {
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case kReflectBase + WM_CTLCOLOREDIT:
      case kReflectBase + WM_CTLCOLORLISTBOX:
      case kReflectBase + WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        // The box has no face background: its colour is always one of its own.
        const BoxColours colours = BoxColoursOf(p_.textColour, p_.background & 0x00FFFFFF);
        SetTextColor(dc, colours.text);
        SetBkColor(dc, colours.background);
        result = reinterpret_cast<LRESULT>(brush_.For(colours.background));
        return true;
      }
      default:
        return false;
    }
  }

 private:
  // The stored items, their values, the selection and the content into the native box.
  void Fill() {
    const HWND window = Window();
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    ApplyItemHeight();
    ApplyTextLimit();
    const size_t valued = p_.itemValues.size() / 4;
    for (size_t i = 0; i < p_.items.size(); ++i) {
      const uint8_t* v = p_.itemValues.data() + 4 * i;
      const uint32_t value = i < valued ? (v[0] | v[1] << 8 | v[2] << 16 | static_cast<uint32_t>(v[3]) << 24) : 0;
      AddItem(p_.items[i].c_str(), i < valued, value);
    }
    Select(p_.selection);
    if (p_.style != 2) {
      SetWindowTextGbk(window, p_.content);
      ShowEditSelection();
    }
  }

  void Select(int32_t index) {
    const int32_t count = static_cast<int32_t>(SendMessageW(Window(), CB_GETCOUNT, 0, 0));
    p_.selection = std::clamp(index, -1, count - 1);
    SendMessageW(Window(), CB_SETCURSEL, static_cast<WPARAM>(p_.selection), 0);
  }
  // A limit in bytes (gbk_input_limit.h).
  void ApplyTextLimit() { SendMessageW(Window(), CB_LIMITTEXT, p_.maxLength, 0); }

  // The live box's items, values, selection and content.
  void Refresh() {
    const HWND window = Window();
    const int32_t count = static_cast<int32_t>(SendMessageW(window, CB_GETCOUNT, 0, 0));
    p_.items.clear();
    std::vector<uint8_t> values;
    for (int32_t i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(window, CB_GETLBTEXTLEN, i, 0);
      std::wstring item(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
      SendMessageW(window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      p_.items.push_back(rt::GbkFromWide(item.c_str()));
      const uint32_t value = static_cast<uint32_t>(SendMessageW(window, CB_GETITEMDATA, i, 0));
      for (int shift = 0; shift < 32; shift += 8) values.push_back(static_cast<uint8_t>(value >> shift));
    }
    p_.itemValues = std::move(values);
    p_.selection = static_cast<int32_t>(SendMessageW(window, CB_GETCURSEL, 0, 0));
    p_.content = WindowTextGbk(window);
  }

  // The extra height goes on top of the system's own, once, however often it is applied.
  void ApplyItemHeight() {
    if (systemItemHeight_ > 0)
      SetRowHeight(systemItemHeight_ + ToDisplay(static_cast<int32_t>(p_.extraRowHeight)));
  }

  // Some systems let CB_SETITEMHEIGHT set the rows' height only in an owner-drawn box; the
  // box's list takes it in every box.
  void SetRowHeight(int32_t height) {
    SendMessageW(Window(), CB_SETITEMHEIGHT, 0, height);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (SendMessageW(Window(), CB_GETITEMHEIGHT, 0, 0) != height && GetComboBoxInfo(Window(), &info) &&
        info.hwndList != nullptr)
      SendMessageW(info.hwndList, LB_SETITEMHEIGHT, 0, height);
  }

  // The edit part selects characters: a byte position inside a double-byte character selects
  // from that character's start. A written selection is then kept as the box holds it; a stored
  // one stays as stored, whatever text the box holds when it is made.
  void ShowEditSelection(bool keepAsShown = false) {
    if (p_.style == 2) return;
    const std::wstring text = WindowTextWide(Window());
    const size_t start = rt::UnitOffsetOfGbkByte(text, p_.selectionStart);
    const size_t end = rt::UnitOffsetOfGbkByte(text, uint64_t{p_.selectionStart} + p_.selectionLength);
    SendMessageW(Window(), CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    if (!keepAsShown) return;
    p_.selectionStart = rt::GbkByteOffset(text, start);
    p_.selectionLength = rt::GbkByteOffset(text, end) - p_.selectionStart;
  }
  void ApplyEditSelection() { ShowEditSelection(true); }

  // A new font makes the system measure the rows again, which drops the extra height.
  void ApplyFont() {
    font_ = ApplyFontData(Window(), p_.font, font_);
    systemItemHeight_ = static_cast<int32_t>(SendMessageW(Window(), CB_GETITEMHEIGHT, 0, 0));
    ApplyItemHeight();
  }

  // The brush follows the colour when the box next paints.
  void ApplyBackground() { InvalidateRect(Window(), nullptr, TRUE); }

  void ShowContent() { SetWindowTextGbk(Window(), p_.content); }
  void Redraw() { InvalidateRect(Window(), nullptr, TRUE); }
  void ApplySelection() { Select(p_.selection); }

  // The items come as one text, an item a line; their values and the selection go with them.
  void ApplyItemsText() {
    p_.items.clear();
    const std::string& all = p_.itemsText;
    for (size_t start = 0; !all.empty() && start <= all.size();) {
      const size_t end = all.find(kItemSeparator, start);
      p_.items.push_back(all.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 2;
    }
    p_.itemValues.clear();
    p_.selection = -1;
    Fill();
  }
  RawValue ItemsText() {
    p_.itemsText.clear();
    for (size_t i = 0; i < p_.items.size(); ++i)
      p_.itemsText += (i == 0 ? "" : kItemSeparator) + p_.items[i];
    return RawText(p_.itemsText);
  }

  // New values go to the items the live box holds now.
  void ApplyItemValues() {
    std::vector<uint8_t> values = std::move(p_.itemValues);
    Refresh();
    p_.itemValues = std::move(values);
    Fill();
  }

  Properties p_;
  HFONT font_ = nullptr;
  BackgroundBrush brush_;
  int32_t systemItemHeight_ = 0;  // the rows' height as the system makes it for the font
};

// Every read first takes the live box's items, selection and content. The style and sorting
// are styles fixed at creation.
constexpr PropertyRow ComboBox::kRows[own::Count] = {
    Stored(own::Style, kind::Choice, offsetof(Properties, style)).Rebuilds(),
    Stored(own::Content, kind::Text, offsetof(Properties, content), Apply<&ComboBox::ShowContent>),
    Stored(own::MaxLength, kind::Integer, offsetof(Properties, maxLength), Apply<&ComboBox::ApplyTextLimit>),
    Stored(own::SelectionStart, kind::Integer, offsetof(Properties, selectionStart), Apply<&ComboBox::ApplyEditSelection>),
    Stored(own::SelectionLength, kind::Integer, offsetof(Properties, selectionLength), Apply<&ComboBox::ApplyEditSelection>),
    Stored(own::Text13, kind::Text, offsetof(Properties, text13)),
    Stored(own::Sorted, kind::Logical, offsetof(Properties, sorted), Apply<&ComboBox::Refresh>)
        .Rebuilds(),
    Stored(own::ExtraRowHeight, kind::Integer, offsetof(Properties, extraRowHeight), Apply<&ComboBox::ApplyItemHeight>),
    Stored(own::TextColour, kind::Colour, offsetof(Properties, textColour), Apply<&ComboBox::Redraw>),
    Stored(own::Background, kind::Colour, offsetof(Properties, background), Apply<&ComboBox::ApplyBackground>),
    Stored(own::Font, kind::Font, offsetof(Properties, font), Apply<&ComboBox::ApplyFont>),
    Stored(own::Selection, kind::Integer, offsetof(Properties, selection), Apply<&ComboBox::ApplySelection>),
    Stored(own::Items, kind::Text2, offsetof(Properties, itemsText), Apply<&ComboBox::ApplyItemsText>).ReadsLive(ReadLive<&ComboBox::ItemsText>),
    Stored(own::ItemValues, kind::Binary, offsetof(Properties, itemValues), Apply<&ComboBox::ApplyItemValues>),
    Stored(own::Text22, kind::Text, offsetof(Properties, text22)),
    Stored(own::Text23, kind::Text, offsetof(Properties, text23)),
    Stored(own::Value24, kind::Integer, offsetof(Properties, value24)),
};
constexpr OwnProperties ComboBox::kOwn = {kRows, own::Count, Apply<&ComboBox::Refresh>};
constexpr auto kProperties = PropertyTable(0x8000, ComboBox::kRows);

}  // namespace

const ComponentTypeRecord kComboBoxType = {
    "组合框", "ComboBox", 0, 0, 0, 0x80000240, 0, 0, 0,
    static_cast<uint32_t>(kProperties.size()), kProperties.data(),
    &StandardUnitInterface<&ComboBox::Create, &WriteByTable, &ComboBox::CurrentData, &ReadByTable>,
    0, 0};

int32_t AddComboItem(Component* combo, const char* text, bool hasValue, uint32_t value) {
  auto* box = dynamic_cast<ComboBox*>(combo);
  return box != nullptr ? box->AddItem(text, hasValue, value) : -1;
}

}  // namespace forms
