#include "runtime/forms/common_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "runtime/core/ansi_path.h"
#include "runtime/core/dll_commands.h"
#include "runtime/core/gbk.h"
#include "runtime/core/runtime_app.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/property_table.h"

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
enum : uint8_t {
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

// The own properties' stored values by own index: a number, or a text where the kind is text.
struct DialogValues {
  std::array<int32_t, own::Count> numbers{};
  std::array<std::string, own::Count> texts;
};

constexpr size_t Number(int32_t index) {
  return offsetof(DialogValues, numbers) + sizeof(int32_t) * index;
}
constexpr size_t Text(int32_t index) {
  return offsetof(DialogValues, texts) + sizeof(std::string) * index;
}

// The common dialog library loads with the first dialog, not with the program: the first window
// needs nothing of it, and loading it (with the shell libraries it brings) is a good part of the
// start-up. Each function is bound on its first call.
constexpr char kDialogLibrary[] = "comdlg32.dll";
decltype(&GetOpenFileNameW) openFileName = nullptr;
decltype(&GetSaveFileNameW) saveFileName = nullptr;
decltype(&ChooseFontW) chooseFont = nullptr;

template <typename Function>
Function DialogFunction(Function& bound, const char* name) {
  if (bound == nullptr)
    bound = reinterpret_cast<Function>(
        rt::Runtime().DllCommands().BindSystemFunction(kDialogLibrary, name));
  return bound;
}

// Paths travel in the system's ANSI code page, so that the A file functions take them back; a
// text that is not a path of that code page is not handed to the dialog.
std::wstring WidePathOf(const std::string& text) { return rt::ExactWide(text).value_or(L""); }

class CommonDialog final : public Component {
 public:
  CommonDialog(uint32_t windowId, uint32_t unitId) : Component(windowId, unitId) {
    UsePropertyTable(kOwn, &values_);
    values_.numbers[own::FileMustExist] = 1;
    values_.numbers[own::OverwritePrompt] = 1;
    values_.numbers[own::PathMustExist] = 1;
  }

  static const PropertyRow kRows[own::Count];
  static const OwnProperties kOwn;
  static bool IsText(int32_t index) { return kRows[index].kind == kind::Text; }

  void Start(HWND window) { Attach(window); }

  bool Read(ArchiveReader& reader) {
    uint32_t version = 0;
    if (!reader.U32(version) || version > kHighestVersion) return false;
    for (int32_t i = 0; i < own::Count; ++i)
      if (IsText(i) ? !reader.LenText(values_.texts[i]) : !reader.I32(values_.numbers[i]))
        return false;
    return true;
  }

  std::vector<uint8_t> CurrentTypeData() const {
    ArchiveWriter writer;
    writer.U32(kHighestVersion);
    for (int32_t i = 0; i < own::Count; ++i) {
      if (IsText(i))
        writer.LenText(values_.texts[i]);
      else
        writer.I32(values_.numbers[i]);
    }
    return writer.Data();
  }

  DWORD FileFlags() const {
    DWORD flags = OFN_HIDEREADONLY;
    if (values_.numbers[own::CreatePrompt] == 1) flags |= OFN_CREATEPROMPT;
    if (values_.numbers[own::FileMustExist] == 1) flags |= OFN_FILEMUSTEXIST;
    if (values_.numbers[own::OverwritePrompt] == 1) flags |= OFN_OVERWRITEPROMPT;
    if (values_.numbers[own::PathMustExist] == 1) flags |= OFN_PATHMUSTEXIST;
    if (values_.numbers[own::NoChangeDirectory] == 1) flags |= OFN_NOCHANGEDIR;
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
    switch (values_.numbers[own::Kind]) {
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
    const std::wstring filter = FileDialogFilter(values_.texts[own::Filter]);
    const std::wstring title = rt::WideFromGbk(values_.texts[own::Title].c_str());
    const std::wstring directory = WidePathOf(values_.texts[own::InitialDirectory]);
    const std::wstring extension = rt::WideFromGbk(values_.texts[own::DefaultExtension].c_str());
    std::vector<wchar_t> file(kFileBufferLength, L'\0');
    const std::wstring initial = WidePathOf(values_.texts[own::FileName]);
    std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    if (!filter.empty()) {
      dialog.lpstrFilter = filter.c_str();
      dialog.nFilterIndex = static_cast<DWORD>(std::max(values_.numbers[own::InitialFilter], 0)) + 1;
    }
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    if (!extension.empty()) dialog.lpstrDefExt = extension.c_str();
    if (!title.empty()) dialog.lpstrTitle = title.c_str();
    if (!directory.empty()) dialog.lpstrInitialDir = directory.c_str();
    dialog.Flags = FileFlags();

    const bool confirmed =
        values_.numbers[own::Kind] == dialog_kind::SaveFile
            ? DialogFunction(saveFileName, "GetSaveFileNameW")(&dialog)
            : DialogFunction(openFileName, "GetOpenFileNameW")(&dialog);
    if (!confirmed || !IsLive()) return false;
    // A choice that no ANSI path names still counts as made: the file loaded before must not
    // stay the one written, so the name is emptied and no file opens under it.
    values_.texts[own::FileName] = rt::AnsiPath(file.data()).value_or("");
    return true;
  }

  bool ShowFontDialog() {
    LOGFONTW font{};
    if (values_.numbers[own::FontSize] > 0) {
      HDC screen = GetDC(nullptr);
      font.lfHeight = -MulDiv(values_.numbers[own::FontSize], GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(nullptr, screen);
    }
    font.lfWeight = values_.numbers[own::Bold] ? FW_BOLD : FW_NORMAL;
    font.lfItalic = static_cast<BYTE>(values_.numbers[own::Italic]);
    font.lfStrikeOut = static_cast<BYTE>(values_.numbers[own::StrikeOut]);
    font.lfUnderline = static_cast<BYTE>(values_.numbers[own::Underline]);
    font.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = rt::WideFromGbk(values_.texts[own::FontName].c_str());
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), font.lfFaceName);

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = static_cast<COLORREF>(values_.numbers[own::Colour]);
    if (!DialogFunction(chooseFont, "ChooseFontW")(&dialog) || !IsLive()) return false;
    values_.texts[own::FontName] = rt::GbkFromWide(font.lfFaceName);
    values_.numbers[own::FontSize] = dialog.iPointSize / 10;
    values_.numbers[own::Bold] = font.lfWeight >= FW_BOLD;
    values_.numbers[own::Italic] = font.lfItalic != 0;
    values_.numbers[own::StrikeOut] = font.lfStrikeOut != 0;
    values_.numbers[own::Underline] = font.lfUnderline != 0;
    values_.numbers[own::Colour] = static_cast<int32_t>(dialog.rgbColors);
    return true;
  }

  DialogValues values_;
  bool showing_ = false;
};

constexpr PropertyRow CommonDialog::kRows[own::Count] = {
    Stored(own::Kind, kind::Choice, Number(own::Kind)).Clamped(dialog_kind::Help),
    Stored(own::Title, kind::Text, Text(own::Title)),
    Stored(own::FileName, kind::Text, Text(own::FileName)),
    Stored(own::Filter, kind::Text, Text(own::Filter)),
    Stored(own::InitialFilter, kind::Integer, Number(own::InitialFilter)),
    Stored(own::InitialDirectory, kind::Text, Text(own::InitialDirectory)),
    Stored(own::DefaultExtension, kind::Text, Text(own::DefaultExtension)),
    Stored(own::CreatePrompt, kind::Logical, Number(own::CreatePrompt)),
    Stored(own::FileMustExist, kind::Logical, Number(own::FileMustExist)),
    Stored(own::OverwritePrompt, kind::Logical, Number(own::OverwritePrompt)),
    Stored(own::PathMustExist, kind::Logical, Number(own::PathMustExist)),
    Stored(own::NoChangeDirectory, kind::Logical, Number(own::NoChangeDirectory)),
    Stored(own::Colour, kind::Colour, Number(own::Colour)),
    Stored(own::Bold, kind::Logical, Number(own::Bold)),
    Stored(own::Italic, kind::Logical, Number(own::Italic)),
    Stored(own::StrikeOut, kind::Logical, Number(own::StrikeOut)),
    Stored(own::Underline, kind::Logical, Number(own::Underline)),
    Stored(own::FontName, kind::Text, Text(own::FontName)),
    Stored(own::FontSize, kind::Integer, Number(own::FontSize)),
    Stored(own::HelpFile, kind::Text, Text(own::HelpFile)),
    Stored(own::HelpCommand, kind::Choice, Number(own::HelpCommand)),
    Stored(own::HelpTopic, kind::Integer, Number(own::HelpTopic)),
};
constexpr OwnProperties CommonDialog::kOwn = {kRows, own::Count, nullptr};

constexpr auto kProperties = PropertyTable(0x8000, CommonDialog::kRows);

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

HGLOBAL CurrentData(Component* object) {
  return GlobalBlockOf(static_cast<CommonDialog*>(object)->CurrentTypeData());
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
    &StandardUnitInterface<Create, WriteByTable, CurrentData, ReadByTable>,
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
