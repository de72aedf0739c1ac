// A runtime application whose DLL declarations name the probe libraries. The binding tests start
// it from directory layouts of their own. Arguments: scenario, log file, the layout's root
// directory, and a path below the root for the declarations that name their library by drive.
// Every load, look-up and release that binding makes goes to the log, with the root shown as
// "ROOT", followed by what the calls returned.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>

#include "runtime/core/dll_call.h"
#include "runtime/core/program_info.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/service_table.h"

namespace {

std::string scenario;
std::string logPath;
std::string root;
char drivePath[MAX_PATH];  // root, then the path given: a library named with its drive

enum Declaration : uint32_t {
  kIdentify,
  kIdentifyAgain,  // a second declaration of the same export
  kCollect,
  kOrdinal12,
  kPathIdentify,
  kPathCollect,
  kPathOrdinal12,
  kPathOrdinal65548,  // 12 in its low 16 bits
  kDefaultsFind,
  kDefaultsMiss,
};
const char* const kDllLibraries[] = {"probe.dll", "probe.dll", "probe.dll", "probe.dll",
                                     drivePath,   drivePath,   drivePath,   drivePath,
                                     "",          ""};
const char* const kDllExports[] = {"Identify", "Identify", "Collect", "#12",
                                   "Identify", "Collect",  "#12",     "#65548",
                                   "DragAcceptFiles",      "NoSuchExport"};

void Log(const std::string& line) {
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

std::string Shown(const std::string& path) {
  if (!root.empty() && _strnicmp(path.c_str(), root.c_str(), root.size()) == 0)
    return "ROOT" + path.substr(root.size());
  return path;
}

std::string Hex(uint32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

// The system's own functions, each call written to the log.
std::map<void*, std::string> loadedAs;

void* LoggedLoad(const char* path) {
  // A system on which the common dialog library cannot be loaded.
  const bool refused = scenario == "no-dialog-library" && _stricmp(path, "comdlg32.dll") == 0;
  HMODULE library = refused ? nullptr : LoadLibraryA(path);
  Log("load " + Shown(path) + (library ? "" : " failed"));
  if (library) loadedAs[library] = Shown(path);
  return library;
}

void* LoggedLookup(void* library, const char* key) {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(library), key);
  const auto ordinal = reinterpret_cast<uintptr_t>(key);
  std::string line = "lookup ";
  if (ordinal < 0x10000) line += '#' + std::to_string(ordinal);
  else line += key;
  Log(line + (address ? "" : " missing"));
  return reinterpret_cast<void*>(address);
}

void LoggedRelease(void* library) {
  Log("release " + loadedAs[library]);
  FreeLibrary(static_cast<HMODULE>(library));
}

const rt::LibraryLoader kLoggedLoader = {LoggedLoad, LoggedLookup, LoggedRelease};

uint32_t CallDll(uint32_t index, std::initializer_list<uint32_t> words = {}) {
  return rt_CallDllChecked(index, words.begin(), static_cast<uint32_t>(words.size()));
}

void CallCollect(Declaration index) {
  uint32_t seen[3] = {};
  const uint32_t result =
      CallDll(index, {reinterpret_cast<uint32_t>(seen), 0x11111111, 0xFFFFFFFF, 0x80000000});
  Log("Collect " + Hex(result) + " " + Hex(seen[0]) + " " + Hex(seen[1]) + " " + Hex(seen[2]));
}

void LogWhetherPathLibraryIsLoaded() {
  Log(std::string("drive-path library ") + (GetModuleHandleA(drivePath) ? "loaded" : "not loaded"));
}

int32_t FixtureStart() {
  rt::Runtime().DllCommands().UseLoader(kLoggedLoader);
  RuntimeServices.OtherService(rt::other::InitialiseRuntime);

  if (scenario == "twice") {
    Log("Identify " + std::to_string(CallDll(kIdentify)));
    Log("Identify " + std::to_string(CallDll(kIdentify)));
    Log("again " + std::to_string(CallDll(kIdentifyAgain)));
    LogWhetherPathLibraryIsLoaded();  // declared, never called
  } else if (scenario == "collect") {
    Log("Identify " + std::to_string(CallDll(kIdentify)));
    CallCollect(kCollect);
  } else if (scenario == "ordinal") {
    Log("#12 " + std::to_string(CallDll(kPathOrdinal12)));
    Log("#65548 " + std::to_string(CallDll(kPathOrdinal65548)));
    Log("#12 " + std::to_string(CallDll(kOrdinal12)));
  } else if (scenario == "drive-path") {
    Log("Identify " + std::to_string(CallDll(kPathIdentify)));
    LogWhetherPathLibraryIsLoaded();
    CallCollect(kPathCollect);
  } else if (scenario == "defaults") {
    void* bound = rt_BindDllCommand(kDefaultsFind);
    const bool shell32s = bound == reinterpret_cast<void*>(GetProcAddress(
                                       GetModuleHandleA("shell32.dll"), "DragAcceptFiles"));
    Log(std::string("bound to ") + (shell32s ? "Shell32's" : "another") + " DragAcceptFiles");
    rt_BindDllCommand(kDefaultsMiss);
  } else if (scenario == "no-dialog-library") {
    // What the common dialog binds on its first use.
    rt::Runtime().DllCommands().BindSystemFunction("comdlg32.dll", "GetOpenFileNameW");
  }
  Log("returned");
  return 0;
}

const char kConstants[] = "";

const rt::ProgramInfoBlock kInfo = {
    3, 0, 0, nullptr, kConstants, sizeof kConstants, nullptr, 0, 0, nullptr,
    sizeof kDllExports / sizeof kDllExports[0], kDllLibraries, kDllExports,
};

int32_t ParseArgumentsThenStart() {
  if (__argc >= 5) {
    scenario = __argv[1];
    logPath = __argv[2];
    root = __argv[3];
    std::snprintf(drivePath, sizeof drivePath, "%s\\%s", __argv[3], __argv[4]);
  }
  return FixtureStart();
}

}  // namespace

const rt::ProgramImage rt::kApplicationImage = {&kInfo, ParseArgumentsThenStart};
