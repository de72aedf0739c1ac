#include "runtime/core/ansi_path.h"

#include <atomic>
#include <vector>

namespace rt {
namespace {

std::atomic<ShortPathLookup> processLookup{SystemShortPath};

// UTF-7 and UTF-8 take neither the best-fit flag nor the used-default answer.
bool IsUnicodeCodePage(UINT codePage) {
  if (codePage == CP_ACP) codePage = GetACP();
  return codePage == CP_UTF7 || codePage == CP_UTF8;
}

// The system's lookup takes a path of MAX_PATH characters or more only in its extended form,
// "\\?\C:\..." or "\\?\UNC\server\share\...", and answers in the form it was asked in. A
// relative path has no extended form; one already extended or naming a device is left as it is.
std::wstring ExtendedForm(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;
}

// The ANSI file functions take no extended form.
std::wstring PlainForm(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

std::wstring ShortForm(const std::wstring& path, ShortPathLookup shortPath) {
  return PlainForm(shortPath(ExtendedForm(path)));
}

}  // namespace

std::wstring SystemShortPath(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::vector<wchar_t> buffer(needed + 1, L'\0');
  const DWORD written = GetShortPathNameW(path.c_str(), buffer.data(), needed + 1);
  if (written == 0 || written > needed) return {};
  return std::wstring(buffer.data(), written);
}

std::optional<std::wstring> ExactWide(const std::string& ansi, UINT codePage) {
  if (ansi.empty()) return std::wstring();
  const int length = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), length, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), length, wide.data(), n) != n)
    return std::nullopt;
  return wide;
}

std::optional<std::string> ExactAnsi(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return std::string();
  const bool unicode = IsUnicodeCodePage(codePage);
  const DWORD flags = unicode ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultAnswer = unicode ? nullptr : &usedDefault;
  const int length = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr,
                                    usedDefaultAnswer);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), length, ansi.data(), n, nullptr,
                          usedDefaultAnswer) != n ||
      usedDefault)
    return std::nullopt;
  // The flag alone is not trusted: a character the code page lacks must not come back as another.
  if (ExactWide(ansi, codePage) != wide) return std::nullopt;
  return ansi;
}

std::optional<std::string> AnsiPath(const std::wstring& path, ShortPathLookup shortPath,
                                    UINT codePage, size_t limit) {
  if (path.size() <= limit)
    if (std::optional<std::string> exact = ExactAnsi(path, codePage)) return exact;
  std::wstring shortForm = ShortForm(path, shortPath);
  if (shortForm.empty()) {
    // A file not there yet has no short form; its folder may.
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0) {
      const std::wstring folder = ShortForm(path.substr(0, slash), shortPath);
      if (!folder.empty()) shortForm = folder + path.substr(slash);
    }
  }
  // Where short names are switched off, the system answers with the long form itself.
  if (shortForm.empty() || shortForm.size() > limit) return std::nullopt;
  return ExactAnsi(shortForm, codePage);
}

std::optional<std::string> AnsiPath(const std::wstring& path, size_t limit) {
  return AnsiPath(path, processLookup.load(), CP_ACP, limit);
}

ShortPathLookup ReplaceShortPathLookup(ShortPathLookup lookup) {
  return processLookup.exchange(lookup);
}

}  // namespace rt
