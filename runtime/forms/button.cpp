#include "runtime/forms/button.h"

#include <string>
#include <vector>

#include "runtime/core/gbk.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/picture_data.h"

namespace forms {
namespace {

constexpr uint32_t kHighestVersion = 1;

constexpr uint16_t kOwnKinds[] = {kind::Picture, kind::Choice, kind::Text,
                                  kind::Choice,  kind::Choice, kind::Font};  // 8-13
constexpr auto kProperties = PropertyTable(0x8000, kOwnKinds);

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
      : Component(args.windowId, args.unitId), p_(std::move(properties)) {}
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

  static int32_t Write(Component* object, int32_t ownIndex, const RawValue* value, uint32_t*) {
    auto* self = static_cast<Button*>(object);
    switch (ownIndex + kCommonPropertyCount) {
      case 8: self->p_.picture = BytesOf(*value); return 1;
      case 9: self->p_.kind = value->low; return 1;
      case 10:
        self->p_.caption = TextOf(*value);
        SetWindowTextGbk(self->Window(), self->p_.caption);
        return 0;
      case 11: self->p_.horizontal = value->low; return 1;
      case 12: self->p_.vertical = value->low; return 1;
      case 13:
        self->p_.font = BytesOf(*value);
        self->ApplyFont();
        return 0;
      default: return 0;
    }
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

  static int32_t Read(Component* object, int32_t ownIndex, RawValue* result) {
    auto* self = static_cast<Button*>(object);
    const Properties& p = self->p_;
    switch (ownIndex + kCommonPropertyCount) {
      case 8: *result = RawBytes(p.picture); break;
      case 9: *result = {p.kind, 0}; break;
      case 10:
        self->p_.caption = WindowTextGbk(self->Window());
        *result = RawText(p.caption);
        break;
      case 11: *result = {p.horizontal, 0}; break;
      case 12: *result = {p.vertical, 0}; break;
      case 13: *result = RawBytes(p.font); break;
      default: return 0;
    }
    return 1;
  }

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

  Properties p_;
  Picture picture_ = {nullptr, false};
  HFONT font_ = nullptr;
};

}  // namespace

const ComponentTypeRecord kButtonType = {
    "按钮", "Button", 0, 0, 0, 0x80000840, 0, 0, 0,
    static_cast<uint32_t>(kProperties.size()), kProperties.data(),
    &StandardUnitInterface<&Button::Create, &Button::Write, &Button::CurrentData, &Button::Read>,
    0, 0};

}  // namespace forms
