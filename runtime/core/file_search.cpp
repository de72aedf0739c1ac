#include "runtime/core/file_search.h"

#include <windows.h>

namespace rt {
namespace {

constexpr DWORD kSpecial = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

bool Matches(const WIN32_FIND_DATAA& entry, uint32_t attributeMask, int32_t allFiles) {
  const char* name = entry.cFileName;
  if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return false;
  if (allFiles != 0) return true;
  const DWORD special = entry.dwFileAttributes & kSpecial;
  return special == 0 || (special & attributeMask) != 0;
}

}  // namespace

Text FindFileStep(const char* pattern, uint32_t attributeMask, int32_t allFiles,
                  uint32_t* handleVariable) {
  WIN32_FIND_DATAA entry;
  HANDLE search;
  bool found;
  if (pattern != nullptr && *pattern != '\0') {
    CloseFileSearch(*handleVariable);
    search = FindFirstFileA(pattern, &entry);
    found = search != INVALID_HANDLE_VALUE;
    if (!found) search = nullptr;
  } else {
    search = reinterpret_cast<HANDLE>(*handleVariable);
    found = search != nullptr && FindNextFileA(search, &entry);
  }
  while (found && !Matches(entry, attributeMask, allFiles)) found = FindNextFileA(search, &entry);

  if (!found) {
    CloseFileSearch(reinterpret_cast<uint32_t>(search));
    *handleVariable = 0;
    return nullptr;
  }
  *handleVariable = reinterpret_cast<uint32_t>(search);
  return MakeText(entry.cFileName);
}

void CloseFileSearch(uint32_t handle) {
  if (handle != 0) FindClose(reinterpret_cast<HANDLE>(handle));
}

}  // namespace rt
