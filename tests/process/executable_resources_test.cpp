// What the system and the shell read from the built executable before it runs: its manifest
// (rights, supported systems, control style) and its version.

#include <gtest/gtest.h>

#include <string>

#include "process_runner.h"

namespace {

std::wstring Tool() { return BesideThisProgram(L"..\\..\\app\\quenmire-res.exe"); }

// The process manifest: resource 1 of the manifest type, UTF-8 text.
std::string ManifestOf(const std::wstring& path) {
  HMODULE image = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (image == nullptr) return {};
  std::string text;
  if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    if (HGLOBAL loaded = LoadResource(image, found))
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(image, found));
  }
  FreeLibrary(image);
  return text;
}

TEST(Executable, ManifestRunsAsInvokerOnSupportedSystemsWithCurrentControls) {
  const std::string manifest = ManifestOf(Tool());
  ASSERT_FALSE(manifest.empty()) << "no manifest in the executable";
  const char* required[] = {
      "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // Windows 7
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10 and 11
      "processorArchitecture=\"x86\"",
  };
  for (const char* text : required) EXPECT_NE(manifest.find(text), std::string::npos) << text;
  EXPECT_EQ(manifest.find("@"), std::string::npos) << "an unconfigured variable is left";
}

// The setting as the system's activation context reads it from the manifest, or empty.
std::wstring ActivationSetting(const std::wstring& path, const wchar_t* space, const wchar_t* name) {
  ACTCTXW request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE context = CreateActCtxW(&request);
  if (context == INVALID_HANDLE_VALUE) return {};
  wchar_t value[64] = {};
  SIZE_T written = 0;
  const bool found = QueryActCtxSettingsW(0, context, space, name, value, std::size(value), &written);
  ReleaseActCtx(context);
  return found ? value : L"";
}

// Without the declaration Windows draws the window at 96 DPI and stretches it on a scaled
// display; with it the window is drawn at the display's own scale.
TEST(Executable, ManifestDeclaresTheProcessAwareOfTheSystemDpi) {
  const std::string manifest = ManifestOf(Tool());
  ASSERT_FALSE(manifest.empty()) << "no manifest in the executable";
  EXPECT_NE(manifest.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">"),
            std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                          "WindowsSettings\">true</dpiAware>"),
            std::string::npos)
      << "the manifest declares no DPI awareness";
  EXPECT_EQ(ActivationSetting(Tool(), L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                              L"dpiAware"),
            L"true")
      << "the system reads no DPI awareness from the manifest";
}

struct VersionString {
  const wchar_t* name;
  const wchar_t* value;
};

TEST(Executable, VersionNamesTheProductInChinese) {
  const std::wstring path = Tool();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource";
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);  // Chinese (PRC)
  EXPECT_EQ(translation[1], 1200);    // UTF-16

  const VersionString strings[] = {
      {L"ProductName", L"Quenmire导演剪辑PC版分辨率修改器"},
      {L"FileDescription", L"Quenmire导演剪辑PC版分辨率修改器"},
      {L"FileVersion", L"1.0.0"},
      {L"ProductVersion", L"1.0.0"},
      {L"OriginalFilename", L"quenmire-res.exe"},
  };
  for (const VersionString& s : strings) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + s.name;
    wchar_t* value = nullptr;
    EXPECT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value),
                               &length))
        << ::testing::PrintToString(std::wstring(s.name));
    EXPECT_EQ(value ? std::wstring(value) : L"", s.value);
  }
}

TEST(Executable, ShowsTheFormsIconInTheShell) {
  HMODULE image = LoadLibraryExW(Tool().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr)
      << "no icon group 1";
  FreeLibrary(image);
}

}  // namespace
