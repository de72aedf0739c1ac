// Binds every DLL declaration of the application, without calling any, and logs each one bound.
// A name that this system's libraries do not export ends the process with the binding error box.
// Argument: the log file.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/dll_declarations.h"
#include "runtime/core/dll_commands.h"
#include "runtime/core/program_info.h"
#include "runtime/core/service_table.h"

namespace {

std::string logPath;

void Log(const std::string& line) {
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

int32_t FixtureStart() {
  if (__argc >= 2) logPath = __argv[1];
  RuntimeServices.OtherService(rt::other::InitialiseRuntime);
  for (uint32_t index = 0; index < app::kDllCommandCount; ++index)
    if (rt_BindDllCommand(index) != nullptr) {
      char line[64];
      std::snprintf(line, sizeof line, "%u %s", index, app::kDllExportNames[index]);
      Log(line);
    }
  return 0;
}

const char kConstants[] = "";

// The application's own declarations; nothing else of the application.
const rt::ProgramInfoBlock kInfo = {
    3, 0, 0, nullptr, kConstants, sizeof kConstants, nullptr, 0, 0, nullptr,
    app::kDllCommandCount, app::kDllLibraryNames.data(), app::kDllExportNames.data(),
};

}  // namespace

const rt::ProgramImage rt::kApplicationImage = {&kInfo, FixtureStart};
