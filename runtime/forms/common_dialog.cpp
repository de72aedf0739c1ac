#include "runtime/forms/common_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "runtime/core/ansi_path.h"
#include "runtime/core/gbk.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"

namespace forms {
namespace {

constexpr wchar_t kClassName[] = L"_Kw_CommonDlg";
constexpr uint32_t kHighestVersion = 1;
// The dialog runs inside a message to the component's own window, so that a window destroyed
// meanwhile (by a timer handler, say) cannot delete the object under the running dialog.
constexpr UINT kOpenMessage = WM_USER + 1;
constexpr size_t kFileBufferLength = 4096;

// Own property indices (the property index less 8).
namespace own {
enum : int32_t {
  Kind,
  Title,
  FileName,
  Filter,
  InitialFilter,
  InitialDirectory,
  DefaultExtension,
  CreatePrompt,
  FileMustExist,
  OverwritePrompt,
  PathMustExist,
  NoChangeDirectory,
  Colour,
  Bold,
  Italic,
  StrikeOut,
  Underline,
  FontName,
  FontSize,
  HelpFile,
  HelpCommand,
  HelpTopic,
  Count
};
}  // namespace own

namespace dialog_kind {
constexpr int32_t OpenFile = 0, SaveFile = 1, Font = 2, Help = 3;
}

constexpr uint16_t kOwnKinds[own::Count] = {
    kind::Choice,  kind::Text,    kind::Text,    kind::Text,    kind::Integer, kind::Text,
    kind::Text,    kind::Logical, kind::Logical, kind::Logical, kind::Logical, kind::Logical,
    kind::Colour,  kind::Logical, kind::Logical, kind::Logical, kind::Logical, kind::Text,
    kind::Integer, kind::Text,    kind::Choice,  kind::Integer};
constexpr auto kProperties = PropertyTable(0x8000, kOwnKinds);

constexpr bool IsText(int32_t index) { return kOwnKinds[index] == kind::Text; }

// Paths travel in the system's ANSI code page, so that the A file functions take them back; a
// text that is not a path of that code page is not handed to the dialog.
std::wstring WidePathOf(const std::string& text) { return rt::ExactWide(text).value_or(L""); }

class CommonDialog final : public Component {
 public:
  CommonDialog(uint32_t windowId, uint32_t unitId) : Component(windowId, unitId) {
    numbers_[own::FileMustExist] = 1;
    numbers_[own::OverwritePrompt] = 1;
    numbers_[own::PathMustExist] = 1;
  }

  void Start(HWND window) { Attach(window); }

  bool Read(ArchiveReader& reader) {
    uint32_t version = 0;
    if (!reader.U32(version) || version > kHighestVersion) return false;
    for (int32_t i = 0; i < own::Count; ++i)
      if (IsText(i) ? !reader.LenText(texts_[i]) : !reader.I32(numbers_[i])) return false;
    return true;
  }

  std::vector<uint8_t> CurrentTypeData() const {
    ArchiveWriter writer;
    writer.U32(kHighestVersion);
    for (int32_t i = 0; i < own::Count; ++i) {
      if (IsText(i))
        writer.LenText(texts_[i]);
      else
        writer.I32(numbers_[i]);
    }
    return writer.Data();
  }

  void Write(int32_t index, const RawValue& value) {
    if (IsText(index)) {
      const char* text = reinterpret_cast<const char*>(value.low);
      texts_[index] = text != nullptr ? text : "";
      return;
    }
    int32_t number = static_cast<int32_t>(value.low);
    if (index == own::Kind) number = std::clamp(number, 0, 3);
    if (kOwnKinds[index] == kind::Choice) number = std::max(number, 0);
    if (kOwnKinds[index] == kind::Logical) number = number != 0;
    numbers_[index] = number;
  }

  RawValue Value(int32_t index) const {
    if (!IsText(index)) return {static_cast<uint32_t>(numbers_[index]), 0};
    return RawText(texts_[index]);
  }

  DWORD FileFlags() const {
    DWORD flags = OFN_HIDEREADONLY;
    if (numbers_[own::CreatePrompt] == 1) flags |= OFN_CREATEPROMPT;
    if (numbers_[own::FileMustExist] == 1) flags |= OFN_FILEMUSTEXIST;
    if (numbers_[own::OverwritePrompt] == 1) flags |= OFN_OVERWRITEPROMPT;
    if (numbers_[own::PathMustExist] == 1) flags |= OFN_PATHMUSTEXIST;
    if (numbers_[own::NoChangeDirectory] == 1) flags |= OFN_NOCHANGEDIR;
    return flags;
  }

 protected:
  bool Handle(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message != kOpenMessage) return false;
    // Asked to open while it is up (its owner is disabled, but a posted click still reaches the
    // owner's buttons from the dialog's loop), the dialog would open a second time over itself
    // and the first ask's handler would run again inside its own wait: that ask fails instead.
    if (showing_) {
      result = 0;
      return true;
    }
    showing_ = true;
    switch (numbers_[own::Kind]) {
      case dialog_kind::OpenFile:
      case dialog_kind::SaveFile:
        result = ShowFileDialog();
        break;
      case dialog_kind::Font:
        result = ShowFontDialog();
        break;
      // The system help viewer for the help kind's files is gone from current systems: the
      // help kind reports failure.
      default:
        result = 0;
        break;
    }
    showing_ = false;
    return true;
  }

 private:
  HWND Owner() const { return GetAncestor(Window(), GA_ROOT); }

  bool ShowFileDialog() {
    const std::wstring filter = FileDialogFilter(texts_[own::Filter]);
    const std::wstring title = rt::WideFromGbk(texts_[own::Title].c_str());
    const std::wstring directory = WidePathOf(texts_[own::InitialDirectory]);
    const std::wstring extension = rt::WideFromGbk(texts_[own::DefaultExtension].c_str());
    std::vector<wchar_t> file(kFileBufferLength, L'\0');
    const std::wstring initial = WidePathOf(texts_[own::FileName]);
    std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    if (!filter.empty()) {
      dialog.lpstrFilter = filter.c_str();
      dialog.nFilterIndex = static_cast<DWORD>(std::max(numbers_[own::InitialFilter], 0)) + 1;
    }
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    if (!extension.empty()) dialog.lpstrDefExt = extension.c_str();
    if (!title.empty()) dialog.lpstrTitle = title.c_str();
    if (!directory.empty()) dialog.lpstrInitialDir = directory.c_str();
    dialog.Flags = FileFlags();

    const bool confirmed = numbers_[own::Kind] == dialog_kind::SaveFile ? GetSaveFileNameW(&dialog)
                                                                        : GetOpenFileNameW(&dialog);
    if (!confirmed || !IsLive()) return false;
    // A choice that no ANSI path names still counts as made: the file loaded before must not
    // stay the one written, so the name is emptied and no file opens under it.
    texts_[own::FileName] = rt::AnsiPath(file.data()).value_or("");
    return true;
  }

  bool ShowFontDialog() {
    LOGFONTW font{};
    if (numbers_[own::FontSize] > 0) {
      HDC screen = GetDC(nullptr);
      font.lfHeight = -MulDiv(numbers_[own::FontSize], GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(nullptr, screen);
    }
    font.lfWeight = numbers_[own::Bold] ? FW_BOLD : FW_NORMAL;
    font.lfItalic = static_cast<BYTE>(numbers_[own::Italic]);
    font.lfStrikeOut = static_cast<BYTE>(numbers_[own::StrikeOut]);
    font.lfUnderline = static_cast<BYTE>(numbers_[own::Underline]);
    font.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = rt::WideFromGbk(texts_[own::FontName].c_str());
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), font.lfFaceName);

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = static_cast<COLORREF>(numbers_[own::Colour]);
    if (!ChooseFontW(&dialog) || !IsLive()) return false;
    texts_[own::FontName] = rt::GbkFromWide(font.lfFaceName);
    numbers_[own::FontSize] = dialog.iPointSize / 10;
    numbers_[own::Bold] = font.lfWeight >= FW_BOLD;
    numbers_[own::Italic] = font.lfItalic != 0;
    numbers_[own::StrikeOut] = font.lfStrikeOut != 0;
    numbers_[own::Underline] = font.lfUnderline != 0;
    numbers_[own::Colour] = static_cast<int32_t>(dialog.rgbColors);
    return true;
  }

  std::array<int32_t, own::Count> numbers_{};
  std::array<std::string, own::Count> texts_;
  bool showing_ = false;
};

Component* Create(const CreateArguments& args) {
  auto dialog = std::make_unique<CommonDialog>(args.windowId, args.unitId);
  if (args.typeDataLength > 0) {
    ArchiveReader reader({args.typeData, args.typeDataLength});
    if (!dialog->Read(reader)) return nullptr;
  }
  const HWND window = CreateHiddenChildWindow(kClassName, args);
  if (window == nullptr) return nullptr;
  dialog->Start(window);
  return dialog.release();
}

int32_t WriteOwn(Component* object, int32_t ownIndex, const RawValue* value, uint32_t*) {
  if (ownIndex >= 0 && ownIndex < own::Count)
    static_cast<CommonDialog*>(object)->Write(ownIndex, *value);
  return 0;
}

HGLOBAL CurrentData(Component* object) {
  return GlobalBlockOf(static_cast<CommonDialog*>(object)->CurrentTypeData());
}

int32_t ReadOwn(Component* object, int32_t ownIndex, RawValue* result) {
  if (ownIndex < 0 || ownIndex >= own::Count) return 0;
  *result = static_cast<CommonDialog*>(object)->Value(ownIndex);
  return 1;
}

}  // namespace

const ComponentTypeRecord kCommonDialogType = {
    "通用对话框",
    "CommonDlg",
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

bool OpenCommonDialog(Component* dialog) {
  auto* common = dynamic_cast<CommonDialog*>(dialog);
  if (common == nullptr || !common->IsLive()) return false;
  return SendMessageW(common->Window(), kOpenMessage, 0, 0) != 0;
}

std::wstring FileDialogFilter(const std::string& filter) {
  // Split after the conversion: the second byte of a GBK character may be the byte of "|".
  std::wstring list = rt::WideFromGbk(filter.c_str());
  const size_t end = list.find_last_not_of(L" \t\r\n\v\f");
  list.erase(end == std::wstring::npos ? 0 : end + 1);
  if (list.empty()) return list;
  if (!list.ends_with(L"||")) list += L"||";
  std::replace(list.begin(), list.end(), L'|', L'\0');
  return list;
}

DWORD FileDialogFlags(Component* dialog) {
  auto* common = dynamic_cast<CommonDialog*>(dialog);
  return common != nullptr ? common->FileFlags() : 0;
}

}  // namespace forms
