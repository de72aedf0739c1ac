#pragma once
// What the user reads in the tool's window, as Unicode text whatever the system's code page, and
// the checks the end-to-end tests share.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_driver.h"

namespace e2e {

inline const std::wstring kTitle = L"Quenmire导演剪辑PC版分辨率修改器 v1";
inline const std::wstring kLoadCaption = L"加载tovrex.exe";
inline const std::wstring kReadCaption = L"读取分辨率";
inline const std::wstring kApplyCaption = L"修改";
inline const std::wstring kFileType = L"Quenmire导演剪辑版执行程序tovrex.exe";

inline const std::wstring kPassed = L"通过！";
inline const std::wstring kFailed = L"未通过，可能不是导演剪辑版";
inline const std::wstring kNoFile = L"请加载tovrex.exe";

// The label reads the text in the ink within a few seconds (a tick, then the repaint).
::testing::AssertionResult ShowsVerdict(HWND label, const std::wstring& text, Ink ink);

// The next ticks each leave the label at this text and ink and the list locked or not.
::testing::AssertionResult StaysOnEveryTick(const MainControls& controls, int ticks,
                                            const std::wstring& text, Ink ink, bool listEnabled);

// The tool's window was shown and closed, and the process ended with 0 and no box.
void ExpectEndedCleanly(const ToolRun& run);

// The file holds exactly these bytes: its length first, then the first byte that differs.
::testing::AssertionResult FileHolds(const std::wstring& path, const std::vector<uint8_t>& bytes);

}  // namespace e2e
