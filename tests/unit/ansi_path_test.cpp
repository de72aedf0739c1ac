#include "runtime/core/ansi_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace rt {
namespace {

constexpr UINT kEnglish = 1252, kChinese = 936;

// The short forms of a volume that has them, for the paths the rows use; none for any other.
std::wstring KnownShortForm(const std::wstring& path) {
  static const struct {
    const wchar_t* longForm;
    const wchar_t* shortForm;
  } known[] = {
      {L"C:\\ｔｏｖ\\tovrex.exe", L"C:\\TOV~1\\tovrex.exe"},
      {L"C:\\游戏目录\\tovrex.exe", L"C:\\YXML~1\\tovrex.exe"},
      {L"C:\\游戏目录", L"C:\\YXML~1"},
  };
  for (const auto& entry : known)
    if (path == entry.longForm) return entry.shortForm;
  return {};
}
// A volume with short names switched off: the system answers with the long form.
std::wstring LongFormOnly(const std::wstring& path) { return path; }
std::wstring NoShortForm(const std::wstring&) { return {}; }

// "C:\xxx…x\tovrex.exe" of length characters in all, or the folder alone of that length.
std::wstring LongFile(size_t length) {
  return L"C:\\" + std::wstring(length - 3 - 11, L'x') + L"\\tovrex.exe";
}
std::wstring LongFolder(size_t length) { return L"C:\\" + std::wstring(length - 3, L'x'); }
// The same in Chinese: two bytes of GBK for each character.
std::wstring ChineseFile(size_t length) {
  return L"C:\\" + std::wstring(length - 3 - 11, L'游') + L"\\tovrex.exe";
}
// "\\server\share\xxx…x\tovrex.exe" of length characters in all.
std::wstring LongNetworkFile(size_t length) {
  return L"\\\\server\\share\\" + std::wstring(length - 15 - 11, L'x') + L"\\tovrex.exe";
}
// A path whose short form, "C:\XXXXXX~1\yyy…y\tovrex.exe" or the folder "C:\XXXXXX~1\yyy…y", is
// of that length, the long one well beyond the limits.
std::wstring FileOfShortLength(size_t length) {
  return L"C:\\" + std::wstring(40, L'x') + L"\\" + std::wstring(length - 12 - 11, L'y') + L"\\tovrex.exe";
}
std::wstring FolderOfShortLength(size_t length) {
  return L"C:\\" + std::wstring(40, L'x') + L"\\" + std::wstring(length - 12, L'y');
}
std::string ShortFileOfLength(size_t length) {
  return "C:\\XXXXXX~1\\" + std::string(length - 12 - 11, 'y') + "\\tovrex.exe";
}
std::string ShortFolderOfLength(size_t length) { return "C:\\XXXXXX~1\\" + std::string(length - 12, 'y'); }
// The short form of those paths: their first folder becomes "XXXXXX~1". Answered as the system
// answers: a path of MAX_PATH characters or more only when asked in its extended form (\\?\ and
// a drive, or \\?\UNC\), and in the form it was asked in.
std::wstring ShortOfLongFolder(const std::wstring& path) {
  std::wstring prefix, plain = path;
  if (path.starts_with(L"\\\\?\\UNC\\")) {
    prefix = L"\\\\?\\UNC\\";
    plain = L"\\\\" + path.substr(prefix.size());
  } else if (path.starts_with(L"\\\\?\\")) {
    prefix = L"\\\\?\\";
    plain = path.substr(prefix.size());
    if (plain.size() < 3 || plain[1] != L':' || plain[2] != L'\\') return {};
  } else if (path.size() >= MAX_PATH) {
    return {};
  }
  // The first folder after the drive, or after a network path's server and share.
  size_t start = 3;
  if (plain.starts_with(L"\\\\")) start = plain.find(L'\\', plain.find(L'\\', 2) + 1) + 1;
  const size_t end = plain.find(L'\\', start);
  const std::wstring shortForm =
      plain.substr(0, start) + L"XXXXXX~1" + (end == std::wstring::npos ? std::wstring() : plain.substr(end));
  return prefix.empty() ? shortForm : prefix + shortForm.substr(prefix == L"\\\\?\\" ? 0 : 2);
}
std::string Ansi(const std::wstring& path, UINT codePage) { return ExactAnsi(path, codePage).value(); }

TEST(AnsiPath, NamesTheChosenFileOrNone) {
  const struct {
    const char* name;
    UINT codePage;
    std::wstring path;
    ShortPathLookup shortPath;
    std::optional<std::string> expected;
    size_t limit = kAnsiFilePathLimit;
  } rows[] = {
      {"plain", kEnglish, L"C:\\Games\\tov\\tovrex.exe", NoShortForm,
       "C:\\Games\\tov\\tovrex.exe"},
      {"a letter of the code page", kEnglish, L"C:\\Jogos\\café\\tovrex.exe", NoShortForm,
       "C:\\Jogos\\caf\xE9\\tovrex.exe"},
      {"full-width letters spelled in GBK", kChinese, L"C:\\ｔｏｖ\\tovrex.exe", NoShortForm,
       "C:\\\xA3\xF4\xA3\xEF\xA3\xF6\\tovrex.exe"},
      {"Chinese spelled in GBK", kChinese, L"C:\\游戏目录\\tovrex.exe", NoShortForm,
       "C:\\\xD3\xCE\xCF\xB7\xC4\xBF\xC2\xBC\\tovrex.exe"},
      // Best fit would give "C:\tov\tovrex.exe", the plain twin's file.
      {"full-width letters by their short form", kEnglish, L"C:\\ｔｏｖ\\tovrex.exe",
       KnownShortForm, "C:\\TOV~1\\tovrex.exe"},
      {"Chinese by its short form", kEnglish, L"C:\\游戏目录\\tovrex.exe", KnownShortForm,
       "C:\\YXML~1\\tovrex.exe"},
      {"a file not there yet, in a folder with a short form", kEnglish,
       L"C:\\游戏目录\\新.exe", KnownShortForm, std::nullopt},
      {"a new file of a plain name, in a folder with a short form", kEnglish,
       L"C:\\游戏目录\\new.exe", KnownShortForm, "C:\\YXML~1\\new.exe"},
      {"best fit and no short form", kEnglish, L"C:\\ｔｏｖ\\tovrex.exe", NoShortForm,
       std::nullopt},
      {"Chinese and no short form", kEnglish, L"C:\\游戏目录\\tovrex.exe", NoShortForm,
       std::nullopt},
      {"short names switched off", kEnglish, L"C:\\ｔｏｖ\\tovrex.exe", LongFormOnly,
       std::nullopt},
      {"Hangul, in neither code page", kChinese, L"C:\\게임\\tovrex.exe", LongFormOnly,
       std::nullopt},
      // The ANSI file functions take MAX_PATH characters with the terminator; a longer path
      // opens nothing, where its short form may.
      {"a file's path at the limit", kEnglish, LongFile(259), ShortOfLongFolder,
       Ansi(LongFile(259), kEnglish)},
      {"a file's path beyond the limit, by its short form", kEnglish, LongFile(260),
       ShortOfLongFolder, "C:\\XXXXXX~1\\tovrex.exe"},
      {"beyond the limit, no short form", kEnglish, LongFile(260), NoShortForm, std::nullopt},
      {"beyond the limit, short names switched off", kEnglish, LongFile(300), LongFormOnly,
       std::nullopt},
      // Counted in characters, not in bytes of the code page.
      {"Chinese within the limit in characters, not in bytes", kChinese, ChineseFile(259),
       NoShortForm, Ansi(ChineseFile(259), kChinese)},
      {"Chinese beyond the limit, by its short form", kChinese, ChineseFile(260),
       ShortOfLongFolder, "C:\\XXXXXX~1\\tovrex.exe"},
      // A folder made current is kept with its final backslash: two characters less.
      {"a folder at the limit", kEnglish, LongFolder(258), ShortOfLongFolder,
       Ansi(LongFolder(258), kEnglish), kAnsiFolderPathLimit},
      {"a folder beyond the limit, by its short form", kEnglish, LongFolder(259),
       ShortOfLongFolder, "C:\\XXXXXX~1", kAnsiFolderPathLimit},
      // The system looks a path of MAX_PATH characters or more up only in its extended form;
      // the short form comes back without it.
      {"a network path beyond the limit, by its short form", kEnglish, LongNetworkFile(300),
       ShortOfLongFolder, "\\\\server\\share\\XXXXXX~1\\tovrex.exe"},
      {"a path far beyond the limit, by its short form", kChinese, ChineseFile(1000),
       ShortOfLongFolder, "C:\\XXXXXX~1\\tovrex.exe"},
      // A short form at the limit, and one character beyond it.
      {"a short form at the limit", kEnglish, FileOfShortLength(259), ShortOfLongFolder,
       ShortFileOfLength(259)},
      {"a short form beyond the limit", kEnglish, FileOfShortLength(260), ShortOfLongFolder,
       std::nullopt},
      {"a folder's short form at the limit", kEnglish, FolderOfShortLength(258), ShortOfLongFolder,
       ShortFolderOfLength(258), kAnsiFolderPathLimit},
      {"a folder's short form beyond the limit", kEnglish, FolderOfShortLength(259),
       ShortOfLongFolder, std::nullopt, kAnsiFolderPathLimit},
  };
  for (const auto& row : rows)
    EXPECT_EQ(AnsiPath(row.path, row.shortPath, row.codePage, row.limit), row.expected) << row.name;
}

TEST(ExactWide, RefusesBytesTheCodePageDoesNotDefine) {
  const struct {
    const char* name;
    UINT codePage;
    std::string ansi;
    std::optional<std::wstring> expected;
  } rows[] = {
      {"empty", kChinese, "", L""},
      {"GBK", kChinese, "C:\\\xD3\xCE\xCF\xB7", L"C:\\游戏"},
      {"a lead byte without its trail byte", kChinese, "C:\\\xD3", std::nullopt},
      {"code page 1252", kEnglish, "caf\xE9", L"café"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ExactWide(row.ansi, row.codePage), row.expected) << row.name;
}

}  // namespace
}  // namespace rt
