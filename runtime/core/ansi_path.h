#pragma once
// Paths cross between the system's wide texts and the runtime's ANSI texts only here. A wide path
// becomes ANSI only when the ANSI text names exactly the same file: the long form when every
// character has its own spelling in the code page (never a best-fit look-alike: "ｔｏｖ" is not
// "tov") and the path is short enough for the ANSI file functions, otherwise the system's short
// form when that one is spelled and short enough; otherwise no path at all.

#include <windows.h>

#include <optional>
#include <string>

namespace rt {

// The short form of a path, or an empty text when the system has none for it. Asked as the
// system is asked: a path of MAX_PATH characters or more comes in its extended form ("\\?\",
// "\\?\UNC\"), and the answer in that form is taken back to the plain one.
using ShortPathLookup = std::wstring (*)(const std::wstring& path);
std::wstring SystemShortPath(const std::wstring& path);

// The ANSI text of the wide text when it converts back to exactly the same wide text.
std::optional<std::string> ExactAnsi(const std::wstring& wide, UINT codePage = CP_ACP);
// The wide text of ANSI text; none when it holds a byte sequence the code page does not define.
std::optional<std::wstring> ExactWide(const std::string& ansi, UINT codePage = CP_ACP);

// The longest paths the ANSI file functions take, in characters of the wide path they become:
// a file's path with its terminator fits MAX_PATH; a folder made current is kept with a final
// backslash and a terminator, so without the backslash it has two characters less.
inline constexpr size_t kAnsiFilePathLimit = MAX_PATH - 1;
inline constexpr size_t kAnsiFolderPathLimit = MAX_PATH - 2;

// The ANSI path that names the file of the wide path, no longer than limit: the long form when
// it is spelled exactly and fits, else the short form when that one is and fits. A path whose
// file does not exist yet (a file about to be saved) is shortened in its folder part only.
std::optional<std::string> AnsiPath(const std::wstring& path, ShortPathLookup shortPath,
                                    UINT codePage = CP_ACP, size_t limit = kAnsiFilePathLimit);
// The same with the process's short-form lookup: the system's, or one set by ReplaceShortPathLookup.
std::optional<std::string> AnsiPath(const std::wstring& path, size_t limit = kAnsiFilePathLimit);

// Replaces the process's short-form lookup (a test uses this to stand for a volume without short
// names); returns the one it replaced.
ShortPathLookup ReplaceShortPathLookup(ShortPathLookup lookup);

}  // namespace rt
