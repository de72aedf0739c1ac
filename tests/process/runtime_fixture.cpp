// A small application of the runtime, started as a process by the process tests. Its first
// argument names a scenario, its second a log file to which it appends what it sees.

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/core/commands.h"
#include "runtime/core/dll_call.h"
#include "runtime/core/dll_record_call.h"
#include "runtime/core/error_reporter.h"
#include "runtime/core/memory.h"
#include "runtime/core/object_registry.h"
#include "runtime/core/program_info.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/service_table.h"
#include "runtime/core/values.h"

namespace {

const rt::RuntimeServiceTable& services = RuntimeServices;

std::string scenario;
std::string logPath;

void Log(const std::string& line) {
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

bool HiddenOwnerAlive() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "_Kw_HideOwner", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId()) return true;
  }
  return false;
}

DWORD guiThread = 0;

// Set by the GUI thread once its message loop has taken a message posted to it: the loop runs.
HANDLE loopRunning = CreateEventW(nullptr, TRUE, FALSE, nullptr);
constexpr UINT kLoopProbe = WM_APP + 1;

// Pumps messages until the process is ended from elsewhere, or gives up after a minute (a bound
// for a test gone wrong, far beyond what a busy machine needs).
void WaitForTheEnd() {
  SetTimer(nullptr, 0, 60000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) {
      Log("gave up waiting");
      return;
    }
    if (msg.message == kLoopProbe && msg.hwnd == nullptr) SetEvent(loopRunning);
    DispatchMessageW(&msg);
  }
}

DWORD WINAPI ExitAtOnceFromAnotherThread(void*) {
  services.Exit(7);
  return 0;
}

int cleanupRuns = 0;

void Cleanup() {
  Log(std::string("cleanup") + (GetCurrentThreadId() == guiThread ? " on gui thread" : " elsewhere") +
      (HiddenOwnerAlive() ? ", owner alive" : ", owner gone"));
  ++cleanupRuns;
  // The shut-down entered again from inside itself.
  if (scenario == "exit-in-cleanup") {
    services.Exit(6);
  } else if (scenario == "exit-request-in-cleanup") {
    CloseHandle(CreateThread(nullptr, 0, ExitAtOnceFromAnotherThread, nullptr, 0, nullptr));
    WaitForTheEnd();  // the other thread's request arrives here, as a message
  } else if (scenario == "cleanup-registers-itself" && cleanupRuns < 3) {
    // A routine runs once however often it asks again; the bound keeps a list that would run
    // it again from running it for ever.
    services.OtherService(rt::other::RegisterCleanup, &Cleanup);
  }
}

void SecondCleanup() { Log("second cleanup"); }

// Refuses the one allocation that comes next, as an exhausted heap would.
std::atomic<bool> refuseNext = false;
bool RefuseNext(uint32_t) { return refuseNext.exchange(false); }
void FailTheNextAllocation() {
  rt::RefuseAllocationsWhen(RefuseNext);
  refuseNext = true;
}

int32_t LibraryNotify(int32_t code, uint32_t value1, uint32_t) {
  if (code == rt::kNotifyStart) rt::KeepRequestFunction(reinterpret_cast<rt::RuntimeRequestFunction>(value1));
  Log("notify " + std::to_string(code));
  return code == rt::kNotifyStart ? 0 : -1;
}

struct LoggedObject : rt::RuntimeObject {
  ~LoggedObject() override { Log(std::string("object closed") + (HiddenOwnerAlive() ? ", owner alive" : ", owner gone")); }
};

// Exits while the GUI thread waits in its message loop.
DWORD WINAPI ExitFromAnotherThread(void*) {
  PostThreadMessageW(guiThread, kLoopProbe, 0, 0);
  if (WaitForSingleObject(loopRunning, 15000) != WAIT_OBJECT_0)
    Log("the GUI thread's message loop did not run within 15 s");
  services.Exit(7);
  Log("Exit returned on the other thread");
  return 0;
}

DWORD WINAPI ReportFromAnotherThread(void*) {
  services.ReportError(1);
  return 0;
}

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

// A window of the application's own, whose closing ends the message loop as the last form's does.
void RunMainWindowUntilClosed() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = MainWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"FixtureMain";
  RegisterClassW(&windowClass);
  CreateWindowExW(0, L"FixtureMain", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                  nullptr, windowClass.hInstance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

int32_t AnsweringHandler(int32_t code, const char* message) {
  Log("handler " + std::to_string(code) + " " + message);
  return 1;
}

int32_t ReportingHandler(int32_t code, const char*) {
  Log("handler " + std::to_string(code));
  services.ReportError(1);  // a report inside the handler goes straight to the box
  return 0;
}

rt::ArgumentRecord DoubleRecord(double value) {
  uint32_t words[2];
  std::memcpy(words, &value, sizeof words);
  return {words[0], words[1], rt::tag::Double};
}

uint32_t CallDll(uint32_t index, std::initializer_list<uint32_t> words) {
  return rt_CallDllChecked(index, words.begin(), static_cast<uint32_t>(words.size()));
}

// The same call as component code makes it: the arguments as records, through request 2031.
uint32_t CallDllWithRecords(uint32_t index, std::initializer_list<rt::ArgumentRecord> records) {
  const rt::DllArguments arguments = {static_cast<uint32_t>(records.size()), records.begin()};
  return static_cast<uint32_t>(rt::LibraryRequest(rt::request::CallDllWithRecords, index,
                                                  reinterpret_cast<uint32_t>(&arguments)));
}

template <typename T>
uint32_t Address(T* p) {
  return reinterpret_cast<uint32_t>(p);
}

int32_t FixtureStart() {
  services.OtherService(rt::other::InitialiseRuntime);
  asm volatile("fninit");
  services.OtherService(rt::other::RegisterCleanup, &Cleanup);
  guiThread = GetCurrentThreadId();
  Log("started");

  if (scenario == "normal") {
    rt::LibraryRequest(rt::request::AddObject, reinterpret_cast<uint32_t>(new LoggedObject), 1);
    Log(std::string("owner ") + (HiddenOwnerAlive() ? "alive" : "missing"));
  } else if (scenario == "exit5") {
    services.Exit(5);
  } else if (scenario == "exit-in-cleanup" || scenario == "exit-request-in-cleanup") {
    services.OtherService(rt::other::RegisterCleanup, &SecondCleanup);
    if (scenario == "exit-in-cleanup") services.Exit(5);
  } else if (scenario == "thread-exit") {
    CloseHandle(CreateThread(nullptr, 0, ExitFromAnotherThread, nullptr, 0, nullptr));
    WaitForTheEnd();
  } else if (scenario == "wait") {
    WaitForTheEnd();
  } else if (scenario == "thread-error-then-close") {
    CloseHandle(CreateThread(nullptr, 0, ReportFromAnotherThread, nullptr, 0, nullptr));
    RunMainWindowUntilClosed();
  } else if (scenario == "paths") {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    Log(std::string("current ") + current);
    Log(std::string("directory ") + reinterpret_cast<const char*>(rt::LibraryRequest(rt::request::ExecutableDirectory)));
    Log(std::string("name ") + reinterpret_cast<const char*>(rt::LibraryRequest(rt::request::ExecutableName)));
    const rt::ResultRecord result = services.CallCommand(rt::GetExecutableName, 0, nullptr);
    const auto* name = reinterpret_cast<const char*>(result.low);
    Log(std::string("command name ") + (name ? name : "(null)"));
    services.Free(reinterpret_cast<void*>(result.low));
  } else if (scenario == "index0" || scenario == "index2") {
    const uint32_t oneElement[] = {1, 1, 42};
    rt::ElementAt(oneElement, scenario == "index0" ? 0 : 2, 4);
  } else if (scenario == "error0") {
    services.ReportError(0);
  } else if (scenario == "command-message") {
    rt::LibraryRequest(rt::request::ReportMessage, reinterpret_cast<uint32_t>("不能求余数于零"));
  } else if (scenario == "remainder-zero") {
    rt::ArgumentRecord args[] = {DoubleRecord(7), DoubleRecord(2), DoubleRecord(0)};
    services.CallCommand(rt::Remainder, 3, args);
  } else if (scenario == "alloc") {
    services.Allocate(2000000000u);
  } else if (scenario == "alloc-text") {
    FailTheNextAllocation();
    static const char kLong[] = "A TEXT TOO LONG FOR THE STRING OBJECT ITSELF";  // 44 bytes
    rt::ArgumentRecord text = {reinterpret_cast<uint32_t>(kLong), 0, rt::tag::Text};
    services.CallCommand(rt::ToLowerCase, 1, &text);
  } else if (scenario == "alloc-object") {
    auto* object = new LoggedObject;
    FailTheNextAllocation();
    rt::LibraryRequest(rt::request::AddObject, reinterpret_cast<uint32_t>(object), 1);
  } else if (scenario == "alloc-register") {
    FailTheNextAllocation();
    services.OtherService(rt::other::RegisterCleanup, &SecondCleanup);  // the list grows
  } else if (scenario == "alloc-dll") {
    FailTheNextAllocation();
    CallDll(0, {});
  } else if (scenario == "size-wrap") {
    rt::MakeByteSet("", 0xFFFFFFF9u);  // with its 8-byte header, one byte beyond 32 bits
  } else if (scenario == "container-limit") {
    std::string text;
    text.reserve(text.max_size() + 1);  // refused by the container itself, with an exception
  } else if (scenario == "request-alloc") {
    rt::LibraryRequest(rt::request::Allocate, 0xFFFFFFF0u, 0);
  } else if (scenario == "require-object") {
    rt::LibraryRequest(rt::request::RequireLiveObject, 0x52010001, 0);
  } else if (scenario == "property") {
    services.ReadProperty(0x52010001, 0x16016C54, 6, -1);
  } else if (scenario == "handler-answers") {
    rt::SetErrorHandler(AnsweringHandler);
    services.ReportError(4);
  } else if (scenario == "handler-reports") {
    rt::SetErrorHandler(ReportingHandler);
    services.ReportError(4);
  } else if (scenario == "no-window") {
    services.LoadStartWindow(0x52010001);
  } else if (scenario == "dll-call") {
    Log("pid " + std::string(CallDll(0, {}) == GetCurrentProcessId() ? "matches" : "differs"));
    const uint32_t before = GetTickCount();
    const uint32_t ticks = CallDll(1, {});  // no library named: found in the default libraries
    Log("ticks " + std::string(ticks - before < 10000 ? "plausible" : "wrong"));
    int32_t value = 0;
    const uint32_t ok = CallDll(2, {reinterpret_cast<uint32_t>("0x3ac220"), 1, reinterpret_cast<uint32_t>(&value)});
    Log("hex " + std::to_string(ok) + " " + std::to_string(value));
  } else if (scenario == "dll-records") {
    Log("pid " + std::string(CallDllWithRecords(0, {}) == GetCurrentProcessId() ? "matches" : "differs"));
    int32_t value = 0;
    const uint32_t ok = CallDllWithRecords(2, {{Address("0x3ac220"), 0, rt::tag::Text},
                                               {1, 0, rt::tag::Int},
                                               {Address(&value), 0, rt::tag::Int}});
    Log("hex " + std::to_string(ok) + " " + std::to_string(value));
    const rt::ByteSet bytes = rt::MakeByteSet("abc", 4);
    Log("length of text " + std::to_string(CallDllWithRecords(6, {{Address("hello"), 0, rt::tag::Text}})) +
        ", of bytes " + std::to_string(CallDllWithRecords(6, {{Address(bytes), 0, rt::tag::ByteSet}})));
    rt::Free(bytes);
    // GetModuleHandleA(null) names the executable itself.
    const bool nullPassed = CallDllWithRecords(8, {{0, 0, rt::tag::ByteSet}}) ==
                            reinterpret_cast<uint32_t>(GetModuleHandleA(nullptr));
    Log(std::string("no bytes pass ") + (nullPassed ? "null" : "something else"));
    // 0x100000003 times 2: the low word of the product is 6 only if both halves arrive in order.
    Log("int64 product " + std::to_string(CallDllWithRecords(7, {{3, 1, rt::tag::Int64}, {2, 0, rt::tag::Int}})));
  } else if (scenario == "dll-records-removes-fewer") {
    CallDllWithRecords(5, {{1, 0, rt::tag::Int}});  // GetLastError takes none
  } else if (scenario == "text-to-number") {
    const rt::ArgumentRecord text = {Address("12"), 0, rt::tag::Text};
    rt::LibraryRequest(rt::request::ToNumber, Address(&text), 0);
  } else if (scenario == "dll-missing") {
    CallDll(3, {});
  } else if (scenario == "dll-removes-more") {
    CallDll(4, {});  // SetLastError takes one argument: none pushed
  } else if (scenario == "dll-removes-fewer") {
    CallDll(5, {1});  // GetLastError takes none: one pushed
  }
  Log("returned");
  return 0;
}

const rt::SupportLibrary kLibrary = {"fixture", 0, nullptr, 0, nullptr, LibraryNotify};
const rt::SupportLibrary* const kLibraries[] = {&kLibrary};

const char* const kDllLibraries[] = {"kernel32", "", "shlwapi.dll", "no-such-library.dll",
                                     "kernel32.dll", "kernel32", "kernel32", "ntdll.dll",
                                     "kernel32"};
const char* const kDllExports[] = {"GetCurrentProcessId", "GetTickCount", "StrToIntExA",
                                   "Nothing", "SetLastError", "GetLastError", "lstrlenA",
                                   "RtlExtendedIntegerMultiply", "GetModuleHandleA"};

const char kConstants[] = "";

const rt::ProgramInfoBlock kInfo = {
    3, 0, 0, nullptr, kConstants, sizeof kConstants, nullptr, 0, 1, kLibraries,
    sizeof kDllExports / sizeof kDllExports[0], kDllLibraries, kDllExports,
};

// Arguments: scenario, log file.
int32_t ParseArgumentsThenStart() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  auto narrow = [](const wchar_t* w) {
    char buffer[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, w, -1, buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer);
  };
  if (argc >= 3) {
    scenario = narrow(argv[1]);
    logPath = narrow(argv[2]);
  }
  LocalFree(argv);
  return FixtureStart();
}

}  // namespace

const rt::ProgramImage rt::kApplicationImage = {&kInfo, ParseArgumentsThenStart};
