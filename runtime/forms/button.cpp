#include "runtime/forms/button.h"

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/core/gbk.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/picture_data.h"
#include "runtime/forms/property_table.h"

namespace forms {
namespace {

constexpr uint32_t kHighestVersion = 1;

// Own property indices (the property index less 8).
namespace own {
enum : uint8_t { Picture, Kind, Caption, HorizontalAlignment, VerticalAlignment, Font, Count };
}

struct Properties {
  std::vector<uint8_t> picture;  // 8
  uint32_t kind = 0;             // 9: 0 normal, 1 default button
  std::string caption = "按钮";  // 10
  uint32_t horizontal = 1;       // 11: left, centre, right
  uint32_t vertical = 1;         // 12: top, centre, bottom
  std::vector<uint8_t> font;     // 13
};

class Button final : public Component {
 public:
  Button(const CreateArguments& args, Properties properties)
      : Component(args.windowId, args.unitId), p_(std::move(properties)) {
    UsePropertyTable(kOwn, &p_);
  }
  ~Button() override {
    DestroyPicture(picture_);
    if (font_ != nullptr) DeleteObject(font_);
  }

  static Component* Create(const CreateArguments& args) {
    Properties p;
    if (args.typeDataLength > 0) {  // else every property keeps its default
      ArchiveReader in({args.typeData, args.typeDataLength});
      uint32_t version = 0;
      if (!in.U32(version) || version > kHighestVersion) return nullptr;
      in.U32(p.kind);
      in.U32(p.horizontal);
      in.U32(p.vertical);
      in.LenBytes(p.picture);
      in.LenBytes(p.font);
      in.LenText(p.caption);
      if (in.Failed()) return nullptr;
    }

    Picture picture = p.picture.empty() ? Picture{nullptr, false} : DecodePicture(p.picture);
    if (!p.picture.empty() && picture.handle == nullptr) p.picture.clear();  // undecodable: dropped
    constexpr DWORD kHorizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    constexpr DWORD kVertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    DWORD style = args.baseStyle | WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE |
                  (p.kind == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                  (p.horizontal < 3 ? kHorizontal[p.horizontal] : BS_CENTER) |
                  (p.vertical < 3 ? kVertical[p.vertical] : BS_VCENTER);
    if (picture.handle != nullptr) style |= picture.isIcon ? BS_ICON : BS_BITMAP;

    const HWND window = CreateWindowExW(0, L"BUTTON", rt::WideFromGbk(p.caption.c_str()).c_str(),
                                        style, args.left, args.top, args.width, args.height,
                                        args.parent, reinterpret_cast<HMENU>(args.controlId),
                                        GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
      DestroyPicture(picture);
      return nullptr;
    }
    auto* self = new Button(args, std::move(p));
    self->picture_ = picture;
    self->Attach(window);
    if (picture.handle != nullptr)
      SendMessageW(window, BM_SETIMAGE, picture.isIcon ? IMAGE_ICON : IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(picture.handle));
    self->ApplyFont();
    return self;
  }

  static HGLOBAL CurrentData(Component* object) {
    const Properties& p = static_cast<Button*>(object)->p_;
    ArchiveWriter out;
    out.U32(kHighestVersion);
    out.U32(p.kind);
    out.U32(p.horizontal);
    out.U32(p.vertical);
    out.LenBytes(p.picture);
    out.LenBytes(p.font);
    out.LenText(p.caption);
    return GlobalBlockOf(out.Data());
  }

  static const PropertyRow kRows[own::Count];
  static const OwnProperties kOwn;

  bool IsDefaultButton() const override { return p_.kind == 1; }

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message == kReflectBase + WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      RaiseEvent(0);
      result = 0;
      return true;
    }
    return false;
  }

 private:
  void ApplyFont() { font_ = ApplyFontData(Window(), p_.font, font_); }
  void ShowCaption() { SetWindowTextGbk(Window(), p_.caption); }
  RawValue LiveCaption() {
    p_.caption = WindowTextGbk(Window());
    return RawText(p_.caption);
  }

  Properties p_;
  Picture picture_ = {nullptr, false};
  HFONT font_ = nullptr;
};

// The picture, the kind and the alignments are styles fixed at creation.
constexpr PropertyRow Button::kRows[own::Count] = {
    Stored(own::Picture, kind::Picture, offsetof(Properties, picture)).Rebuilds(),
    Stored(own::Kind, kind::Choice, offsetof(Properties, kind)).Rebuilds(),
    Stored(own::Caption, kind::Text, offsetof(Properties, caption), Apply<&Button::ShowCaption>).ReadsLive(ReadLive<&Button::LiveCaption>),
    Stored(own::HorizontalAlignment, kind::Choice, offsetof(Properties, horizontal)).Rebuilds(),
    Stored(own::VerticalAlignment, kind::Choice, offsetof(Properties, vertical)).Rebuilds(),
    Stored(own::Font, kind::Font, offsetof(Properties, font), Apply<&Button::ApplyFont>),
};
constexpr OwnProperties Button::kOwn = {kRows, own::Count, nullptr};
constexpr auto kProperties = PropertyTable(0x8000, Button::kRows);

}  // namespace

const ComponentTypeRecord kButtonType = {
    "按钮", "Button", 0, 0, 0, 0x80000840, 0, 0, 0,
    static_cast<uint32_t>(kProperties.size()), kProperties.data(),
    &StandardUnitInterface<&Button::Create, &WriteByTable, &Button::CurrentData, &ReadByTable>,
    0, 0};

}  // namespace forms
