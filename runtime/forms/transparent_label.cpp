#include "runtime/forms/transparent_label.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/gbk.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/display_scale.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/label_accessibility.h"
#include "runtime/forms/property_table.h"
#include "runtime/forms/system_theme.h"

namespace forms {
namespace {

constexpr wchar_t kClassName[] = L"_Kw_TransLabel";
constexpr uint32_t kHighestVersion = 1;

// Own property indices (the property index less 8).
namespace own {
enum : uint8_t {
  Caption,
  Effect,
  Font,
  Colour,
  HorizontalAlignment,
  WordWrap,
  VerticalAlignment,
  Count
};
}  // namespace own

namespace effect {
constexpr int32_t None = 0, WhiteBehind = 1, WhiteInPlace = 2, BlackBehind = 3;
}

struct LabelSettings {
  std::string caption = "透明标签";
  int32_t effect = effect::None;
  std::vector<uint8_t> font;  // empty, or anything but a LOGFONTA: the default GUI font
  uint32_t colour = 0;
  int32_t horizontalAlignment = 0;  // left, centre, right
  int32_t wordWrap = 0;
  int32_t verticalAlignment = 1;  // top, centre, bottom; single line only

  bool Read(ArchiveReader& reader) {
    uint32_t version = 0;
    if (!reader.U32(version) || version > kHighestVersion) return false;
    return reader.I32(effect) && reader.U32(colour) && reader.I32(horizontalAlignment) &&
           reader.I32(verticalAlignment) && reader.I32(wordWrap) && reader.LenBytes(font) &&
           reader.LenText(caption);
  }

  std::vector<uint8_t> Write() const {
    ArchiveWriter writer;
    writer.U32(kHighestVersion);
    writer.I32(effect);
    writer.U32(colour);
    writer.I32(horizontalAlignment);
    writer.I32(verticalAlignment);
    writer.I32(wordWrap);
    writer.LenBytes(font);
    writer.LenText(caption);
    return writer.Data();
  }
};

struct RedrawArea {
  HWND label;
  RECT area;  // screen coordinates
};

BOOL CALLBACK RedrawIfIntersecting(HWND window, LPARAM context) {
  const auto& redraw = *reinterpret_cast<const RedrawArea*>(context);
  RECT bounds, common;
  if (window != redraw.label && IsWindowVisible(window) && GetWindowRect(window, &bounds) &&
      IntersectRect(&common, &bounds, &redraw.area))
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  return TRUE;
}

class TransparentLabel final : public Component {
 public:
  TransparentLabel(uint32_t windowId, uint32_t unitId, LabelSettings settings)
      : Component(windowId, unitId),
        settings_(std::move(settings)),
        font_(CreateFontFromData(settings_.font)) {
    UsePropertyTable(kOwn, &settings_);
  }
  ~TransparentLabel() override {
    if (font_ != nullptr) DeleteObject(font_);
  }

  void Start(HWND window) { Attach(window); }

  const LabelSettings& Settings() const { return settings_; }

  static const PropertyRow kRows[own::Count];
  static const OwnProperties kOwn;

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_PAINT) {
      Paint();
      result = 0;
      return true;
    }
    if (message == WM_GETOBJECT) return AnswerAccessibleObject(Window(), wParam, lParam, result);
    if (message == WM_DESTROY && liveRegion_) ForgetLiveRegion(Window());
    if (message == WM_GETFONT) {  // as a standard control tells the font it draws with
      result = reinterpret_cast<LRESULT>(font_ != nullptr ? font_ : DefaultGuiFont());
      return true;
    }
    if (message == WM_WINDOWPOSCHANGED) {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
      result = CallOriginal(message, wParam, lParam);
      if ((position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) Repaint();
      return true;
    }
    return false;
  }

 private:
  // Assistive technology hears of a new caption; ticks that write the one shown again say
  // nothing new.
  void ShowCaption() {
    const std::wstring shown = WindowTextWide(Window());
    SetWindowTextGbk(Window(), settings_.caption);
    Repaint();
    if (WindowTextWide(Window()) != shown) AnnounceCaptionChange(Window(), liveRegion_);
  }

  void ApplyFont() {
    if (font_ != nullptr) DeleteObject(font_);
    font_ = CreateFontFromData(settings_.font);
    Repaint();
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    const int length = GetWindowTextLengthW(Window());
    if (length > 0) {
      std::wstring text(static_cast<size_t>(length) + 1, L'\0');
      text.resize(static_cast<size_t>(GetWindowTextW(Window(), text.data(), length + 1)));
      HGDIOBJ previous = SelectObject(dc, font_ != nullptr ? font_ : DefaultGuiFont());
      UINT format = DT_NOCLIP;
      if (settings_.horizontalAlignment == 1) format |= DT_CENTER;
      if (settings_.horizontalAlignment == 2) format |= DT_RIGHT;
      if (settings_.wordWrap != 0) {
        format |= DT_WORDBREAK;
      } else {
        format |= DT_SINGLELINE;
        if (settings_.verticalAlignment == 1) format |= DT_VCENTER;
        if (settings_.verticalAlignment == 2) format |= DT_BOTTOM;
      }
      SetBkMode(dc, TRANSPARENT);
      RECT area;
      GetClientRect(Window(), &area);
      auto draw = [&](COLORREF colour, RECT place) {
        SetTextColor(dc, colour);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, format);
      };
      // The effect's offsets are stored pixels, like the label's place.
      auto moved = [&](int by) {
        RECT place = area;
        OffsetRect(&place, ToDisplay(by), ToDisplay(by));
        return place;
      };
      // In high contrast the copy is left out: in any of the theme's colours it would either
      // vanish into the face or smear the text's outline. The text keeps its place.
      const bool copy = TextDecorationShown();
      switch (settings_.effect) {
        case effect::WhiteBehind:
          if (copy) draw(RGB(255, 255, 255), moved(1));
          break;
        case effect::WhiteInPlace:
          if (copy) draw(RGB(255, 255, 255), area);
          area = moved(1);
          break;
        case effect::BlackBehind:
          if (copy) draw(RGB(0, 0, 0), moved(2));
          break;
        default:
          break;
      }
      draw(TextColourOnFace(settings_.colour), area);
      SelectObject(dc, previous);
    }
    EndPaint(Window(), &paint);
  }

  // The label has no background: its old glyphs go only when the parent repaints the area under
  // it, and the windows that share the area repaint over that.
  void Repaint() {
    HWND label = Window();
    RedrawArea redraw{label, {}};
    GetWindowRect(label, &redraw.area);
    HWND top = GetAncestor(label, GA_ROOT);
    if (top != nullptr && top != label) {
      RECT onTop = redraw.area;
      MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&onTop), 2);
      InvalidateRect(top, &onTop, TRUE);
      UpdateWindow(top);
      EnumChildWindows(top, &RedrawIfIntersecting, reinterpret_cast<LPARAM>(&redraw));
    }
    InvalidateRect(label, nullptr, TRUE);
  }

  LabelSettings settings_;
  HFONT font_;
  bool liveRegion_ = false;  // marked as a live region for assistive technology
};
using Label = TransparentLabel;

// Every write ends with a repaint.
constexpr PropertyRow TransparentLabel::kRows[own::Count] = {
    Stored(own::Caption, kind::Text, offsetof(LabelSettings, caption), Apply<&Label::ShowCaption>),
    Stored(own::Effect, kind::Choice, offsetof(LabelSettings, effect), Apply<&Label::Repaint>)
        .Clamped(effect::BlackBehind),
    Stored(own::Font, kind::Font, offsetof(LabelSettings, font), Apply<&Label::ApplyFont>),
    Stored(own::Colour, kind::Colour, offsetof(LabelSettings, colour), Apply<&Label::Repaint>),
    Stored(own::HorizontalAlignment, kind::Choice, offsetof(LabelSettings, horizontalAlignment), Apply<&Label::Repaint>)
        .Clamped(2),
    Stored(own::WordWrap, kind::Logical, offsetof(LabelSettings, wordWrap), Apply<&Label::Repaint>),
    Stored(own::VerticalAlignment, kind::Choice, offsetof(LabelSettings, verticalAlignment), Apply<&Label::Repaint>)
        .Clamped(2),
};
constexpr OwnProperties TransparentLabel::kOwn = {kRows, own::Count, nullptr};

Component* Create(const CreateArguments& args) {
  LabelSettings settings;
  if (args.typeDataLength > 0) {
    ArchiveReader reader({args.typeData, args.typeDataLength});
    if (!settings.Read(reader)) return nullptr;
  }
  if (!EnsureWindowClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) return nullptr;
  HWND window = CreateWindowExW(
      WS_EX_TRANSPARENT, kClassName, rt::WideFromGbk(settings.caption.c_str()).c_str(),
      args.baseStyle | WS_CHILD | WS_CLIPSIBLINGS, args.left, args.top, args.width, args.height,
      args.parent, reinterpret_cast<HMENU>(args.controlId), GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  auto* label = new TransparentLabel(args.windowId, args.unitId, std::move(settings));
  label->Start(window);
  return label;
}

HGLOBAL CurrentData(Component* object) {
  return GlobalBlockOf(static_cast<TransparentLabel*>(object)->Settings().Write());
}

constexpr auto kProperties = PropertyTable(0, TransparentLabel::kRows);

}  // namespace

const ComponentTypeRecord kTransparentLabelType = {
    "透明标签",
    "TransLabel",
    0,
    0,
    0,
    0x00012040,
    0,
    0,
    0,
    kProperties.size(),
    kProperties.data(),
    &StandardUnitInterface<Create, WriteByTable, CurrentData, ReadByTable>,
    0,
    0};

}  // namespace forms
