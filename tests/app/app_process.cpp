// The test process runs the tool's own image with a start-up of its own: the runtime initialised,
// the loading-dialog module started and the main window loaded as the tool does, then the tests.

#include "app_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/forms/main_form_ids.h"
#include "app/modules/load_dialog_module.h"
#include "app/runtime_calls.h"
#include "runtime/core/program_info.h"
#include "runtime/core/runtime_app.h"

namespace app::testing {
namespace {

HWND FindChild(const wchar_t* className) {
  return FindWindowExW(MainWindow(), nullptr, className, nullptr);
}

std::string Directory() {
  static const std::string directory = [] {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string path = std::string(base) + "quenmire-app-tests-" +
                       std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }();
  return directory;
}

int32_t RunTests() {
  services.OtherService(rt::other::InitialiseRuntime);
  LoadDialogModuleInit();
  services.LoadStartWindow(kMainFormId);
  return RUN_ALL_TESTS();
}

}  // namespace

HWND MainWindow() { return FindWindowW(L"PvWindow", nullptr); }
HWND ComboBoxWindow() { return FindChild(L"ComboBox"); }

std::string MakeFile(const std::string& name, const Bytes& content) {
  const std::string path = Directory() + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  return path;
}

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Patterned(size_t length) {
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}

int32_t OpenForReadWrite(const std::string& path) {
  return CallInt(forms::CommandIndex::OpenFile,
                 {TextArg(path.c_str()), IntArg(3), IntArg(1)});
}

std::string TakeText(char* text) {
  std::string copy = text != nullptr ? text : "";
  Release(text);
  return copy;
}

}  // namespace app::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const rt::ProgramImage image = {rt::kApplicationImage.info, app::testing::RunTests};
  return rt::Runtime().AppStart(image);
}
