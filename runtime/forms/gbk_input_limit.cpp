#include "runtime/forms/gbk_input_limit.h"

#include <string>

#include "runtime/core/gbk_positions.h"
#include "runtime/forms/component.h"

namespace forms {
namespace {

constexpr wchar_t kOwnProcedure[] = L"Runtime.EditProcedure";

bool IsFirstHalf(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsSecondHalf(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsCharacter(UINT message) { return message == WM_CHAR || message == WM_IME_CHAR; }

std::wstring ClipboardText(HWND edit) {
  std::wstring text;
  if (!OpenClipboard(edit)) return text;
  if (const HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* data = static_cast<const wchar_t*>(GlobalLock(block))) {
      text = data;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

// What the message would insert, as the edit window itself takes it; empty for anything else.
std::wstring Insertion(HWND edit, UINT message, WPARAM wParam, bool multiLine) {
  // An input method's result comes as these too, a character at a time, unless the box is told
  // to take it whole (EM_SETIMESTATUS), which no box here is.
  if (IsCharacter(message)) {
    const auto c = static_cast<wchar_t>(wParam);
    // Enter and Ctrl+Enter (a line feed) both break the line with CR LF.
    if ((c == L'\r' || c == L'\n') && multiLine) return L"\r\n";
    // A character outside the BMP is typed as two messages, a half each: the first makes room
    // for the whole character (any second half measures the same) or for none of it.
    if (IsFirstHalf(c)) return {c, L'\xDC00'};
    return c >= L' ' || c == L'\t' ? std::wstring(1, c) : std::wstring();  // else a control key
  }
  if (message != WM_PASTE) return {};
  std::wstring text = ClipboardText(edit);
  // A single-line box pastes the first line only.
  if (const size_t end = text.find(L'\n'); !multiLine && end != std::wstring::npos)
    text.resize(end > 0 && text[end - 1] == L'\r' ? end - 1 : end);
  return text;
}

LRESULT CALLBACK LimitedEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto own = reinterpret_cast<WNDPROC>(GetPropW(edit, kOwnProcedure));
  if (own == nullptr) return DefWindowProcW(edit, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    RemovePropW(edit, kOwnProcedure);
  } else if (InputPastGbkLimit(edit, message, wParam)) {
    return 0;
  }
  return CallWindowProcW(own, edit, message, wParam, lParam);
}

}  // namespace

bool InputPastGbkLimit(HWND edit, UINT message, WPARAM wParam) {
  if (message != WM_CHAR && message != WM_IME_CHAR && message != WM_PASTE) return false;
  const LONG_PTR style = GetWindowLongPtrW(edit, GWL_STYLE);
  if (style & ES_READONLY) return false;
  const std::wstring input = Insertion(edit, message, wParam, (style & ES_MULTILINE) != 0);
  if (input.empty()) return false;

  const auto limit = static_cast<uint64_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
  std::wstring text = WindowTextWide(edit);
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (end > text.size() || start > end) return false;
  const bool afterFirstHalf = start == end && start > 0 && IsFirstHalf(text[start - 1]);
  text.erase(start, end - start);
  // No UTF-16 unit is more than two bytes.
  if (2 * static_cast<uint64_t>(text.size() + input.size()) <= limit) return false;
  // A second half goes in after its first, whose room was the pair's; without it (refused) it
  // would stand alone.
  if (IsCharacter(message) && IsSecondHalf(input[0])) return !afterFirstHalf;
  const uint32_t kept = rt::GbkLength(text);
  size_t fits = kept >= limit ? 0 : rt::UnitOffsetOfGbkByte(input, limit - kept);
  if (fits == input.size()) return false;
  // A line break is taken whole or not at all.
  if (fits > 0 && input[fits - 1] == L'\r' && input[fits] == L'\n') --fits;
  // As with the system's own limit, input that does not fit still replaces the selection: with
  // what fits of it, or with nothing.
  const std::wstring taken = message == WM_PASTE ? input.substr(0, fits) : std::wstring();
  if (!taken.empty() || start != end)
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(taken.c_str()));
  return true;
}

void KeepGbkInputLimit(HWND edit) {
  if (edit == nullptr || GetPropW(edit, kOwnProcedure) != nullptr) return;
  SetPropW(edit, kOwnProcedure, reinterpret_cast<HANDLE>(GetWindowLongPtrW(edit, GWLP_WNDPROC)));
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LimitedEditProcedure));
}

}  // namespace forms
