#include "runtime/core/file_search.h"

#include <windows.h>

#include <optional>
#include <string>

#include "runtime/core/ansi_path.h"

namespace rt {
namespace {

constexpr DWORD kSpecial = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

bool Matches(const WIN32_FIND_DATAW& entry, uint32_t attributeMask, int32_t allFiles) {
  const wchar_t* name = entry.cFileName;
  if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) return false;
  if (allFiles != 0) return true;
  const DWORD special = entry.dwFileAttributes & kSpecial;
  return special == 0 || (special & attributeMask) != 0;
}

// The entry's name as the A file functions take it: the long name where the code page spells it,
// otherwise the short one. Searched through the A functions, the system would hand out a best-fit
// look-alike ("tov" for "ｔｏｖ") that names another file.
std::optional<std::string> AnsiName(const WIN32_FIND_DATAW& entry) {
  if (std::optional<std::string> name = ExactAnsi(entry.cFileName)) return name;
  if (entry.cAlternateFileName[0] == L'\0') return std::nullopt;
  return ExactAnsi(entry.cAlternateFileName);
}

}  // namespace

Text FindFileStep(const char* pattern, uint32_t attributeMask, int32_t allFiles,
                  uint32_t* handleVariable) {
  WIN32_FIND_DATAW entry;
  HANDLE search;
  bool found;
  if (pattern != nullptr && *pattern != '\0') {
    CloseFileSearch(*handleVariable);
    const std::optional<std::wstring> widePattern = ExactWide(pattern);
    search = widePattern ? FindFirstFileW(widePattern->c_str(), &entry) : INVALID_HANDLE_VALUE;
    found = search != INVALID_HANDLE_VALUE;
    if (!found) search = nullptr;
  } else {
    search = reinterpret_cast<HANDLE>(*handleVariable);
    found = search != nullptr && FindNextFileW(search, &entry);
  }
  // An entry that no ANSI name can reach is passed over.
  std::optional<std::string> name;
  while (found && (!Matches(entry, attributeMask, allFiles) || !(name = AnsiName(entry))))
    found = FindNextFileW(search, &entry);

  if (!found) {
    CloseFileSearch(reinterpret_cast<uint32_t>(search));
    *handleVariable = 0;
    return nullptr;
  }
  *handleVariable = reinterpret_cast<uint32_t>(search);
  return MakeText(name->c_str());
}

void CloseFileSearch(uint32_t handle) {
  if (handle != 0) FindClose(reinterpret_cast<HANDLE>(handle));
}

}  // namespace rt
