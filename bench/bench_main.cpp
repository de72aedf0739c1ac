// Measures the tool against floors in the same run: start-up, the two file-handling clicks
// and memory. Every round starts the tool and its floors afresh and alternates which goes
// first; the figures are medians over the rounds. Prints a table and writes it as CSV.
// Argument: the number of rounds (15 unless given).

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "stopwatch.h"
#include "summary.h"
#include "tool_driver.h"
#include "watched_process.h"

namespace {

using namespace e2e;

constexpr uint32_t kImageSize = 0x4A1480;  // 4.9 MB, the field offsets near its end
constexpr uint32_t kSignatureOffset = 0x3AC220;
constexpr uint32_t kWidthOffset = 0x4A1474;
constexpr uint32_t kHeightOffset = 0x4A1478;
constexpr int kClicksPerRound = 3;  // of each kind, on the tool and on its floor
constexpr double kKiB = 1024.0;

const std::wstring kNoFile =
    L"\x8BF7\x52A0\x8F7D"
    L"tovrex.exe";  // 请加载tovrex.exe
const std::wstring kSignatureValue = L"1701996868";

struct Resolution {
  const wchar_t* item;  // as the tool's list shows it
  const wchar_t* pair;  // as the floor's resolution box takes it
  uint8_t fields[4];    // width, then height, little-endian
};
// Alternated, so that every click changes the bytes it is timed by.
const Resolution kResolutions[] = {
    {L"1920 x 1080", L"1920 1080", {0x80, 0x07, 0x38, 0x04}},
    {L"1600 x 1200", L"1600 1200", {0x40, 0x06, 0xB0, 0x04}},
};

std::vector<uint8_t> DirectorsCutImage() {
  std::vector<uint8_t> image(kImageSize);
  for (uint32_t i = 0; i < kImageSize; ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  const uint8_t signature[] = {0x44, 0x69, 0x72, 0x65};  // "Dire"
  std::memcpy(&image[kSignatureOffset], signature, sizeof signature);
  return image;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// A handle kept open for looking at the two fields while another process writes the file.
class FieldWatch {
 public:
  explicit FieldWatch(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~FieldWatch() { CloseHandle(file_); }
  FieldWatch(const FieldWatch&) = delete;
  FieldWatch& operator=(const FieldWatch&) = delete;

  bool Holds(const Resolution& resolution) const {
    return FieldIs(kWidthOffset, resolution.fields) &&
           FieldIs(kHeightOffset, resolution.fields + 2);
  }

 private:
  bool FieldIs(uint32_t offset, const uint8_t* expected) const {
    OVERLAPPED at{};
    at.Offset = offset;
    uint8_t bytes[2];
    DWORD read = 0;
    return ReadFile(file_, bytes, 2, &read, &at) && read == 2 &&
           std::memcmp(bytes, expected, 2) == 0;
  }
  HANDLE file_;
};

Measure Named(const char* name, const char* unit, const char* floorName, Comparison comparison,
              double target = kNoTarget) {
  return {name, unit, floorName, comparison, target, {}, {}};
}

struct Programs {
  std::wstring tool = BuiltTool();
  std::wstring floorWindow = BesideThisProgram(L"floor_tool_window.exe");
  std::wstring floorIo = BesideThisProgram(L"floor_io.exe");
};

struct Results {
  Measure shown = Named("start to main window shown", "ms", "same window made directly",
                        Comparison::Ratio, 1.05);
  Measure verdict = Named("start to first verdict in the label", "ms", "same window, first tick",
                          Comparison::Ratio, 1.05);
  Measure firstWindow = Named("  start to first window created", "ms",
                              "its window created (after OLE, GDI+)", Comparison::Difference);
  Measure firstWindowToShown = Named("  first window created to main window shown", "ms",
                                     "its window created to shown", Comparison::Difference);
  Measure shownToVerdict = Named("  main window shown to first verdict", "ms",
                                 "same window, shown to tick", Comparison::Difference);
  Measure memory = Named("peak private bytes, load-read-patch", "KiB",
                         "same window + open dialog + 2 x file", Comparison::Difference, 2048);
  Measure privateAfterStart = Named("  private bytes after first verdict", "KiB",
                                    "same window + open dialog", Comparison::Difference);
  Measure privateAfterLoad = Named("  private bytes after load (open dialog)", "KiB",
                                   "same window + open dialog", Comparison::Difference);
  Measure privateAfterPatch = Named("  private bytes after check and patches", "KiB",
                                    "same window + open dialog", Comparison::Difference);
  Measure apply = Named("apply click to both fields on disk", "ms",
                        "read+copy+write whole file x2", Comparison::Ratio, 1.15);
  Measure applyWithoutCopy = Named("  I/O floor without the copy, apply", "ms",
                                   "read+copy+write whole file x2", Comparison::Ratio);
  Measure check =
      Named("read click to value in edit box", "ms", "seek+read 15 bytes+show", Comparison::Ratio);

  std::vector<Measure> All() const {
    return {shown,         verdict,           firstWindow,       firstWindowToShown,
            shownToVerdict, memory,           privateAfterStart, privateAfterLoad,
            privateAfterPatch, apply,         applyWithoutCopy,  check};
  }
};

void Fail(const char* what) {
  std::fprintf(stderr, "bench: %s\n", what);
  std::exit(1);
}

// The window's thread has finished what it was handling: a message sent to it is answered only
// between handlers (a handler still freeing its copies after the write holds it back).
void Settle(HWND window, const char* what) {
  if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr) == 0) Fail(what);
}

double KiB(uint64_t bytes) { return static_cast<double>(bytes) / kKiB; }

void Keep(std::vector<double>& series, double value, const char* what) {
  if (value < 0) Fail(what);
  series.push_back(value);
}

// Moments of a start-up, in milliseconds from CreateProcess: the process's first window exists
// (the tool's runtime makes its hidden window before any other), the main window shows, and (for
// the tool) its first tick has written the label.
struct StartUp {
  double firstWindow = -1, shown = -1, firstTick = -1;
  HWND main = nullptr;
};

StartUp TimeStartUp(const WatchedProcess& program, const wchar_t* firstClass,
                    const wchar_t* mainClass, bool waitForTick) {
  StartUp start;
  HWND label = nullptr;
  const Stopwatch& clock = program.SinceStart();
  while (clock.ElapsedMs() < 30000) {
    if (start.firstWindow < 0 && program.Window(firstClass, false) != nullptr)
      start.firstWindow = clock.ElapsedMs();
    if (start.main == nullptr && (start.main = program.Window(mainClass, true)) != nullptr) {
      start.shown = clock.ElapsedMs();
      label = GetDlgItem(start.main, control::VerdictLabel);
      if (!waitForTick) break;
    }
    if (label != nullptr && WindowText(label) == kNoFile) {
      start.firstTick = clock.ElapsedMs();
      break;
    }
    Sleep(1);
  }
  return start;
}

StartUp TimeFloorStartUp(const WatchedProcess& floor) {
  return TimeStartUp(floor, L"BenchFloorWindow", L"BenchFloorWindow", true);
}

HWND ShownWindow(const WatchedProcess& program, const wchar_t* className) {
  HWND window = nullptr;
  if (TimeUntil(program.SinceStart(), [&] { return (window = program.Window(className, true)); }) <
      0)
    Fail("a floor program did not show its window");
  return window;
}

double TimeClick(HWND button, const std::function<bool()>& done) {
  Stopwatch clock;
  Click(button);
  return TimeUntil(clock, done, 30000);
}

// The same action on the tool and on its floor, one after the other, in the given order.
void Pair(bool toolFirst, const std::function<void()>& onTool,
          const std::function<void()>& onFloor) {
  if (toolFirst) onTool();
  onFloor();
  if (!toolFirst) onTool();
}

void RunRound(int round, const Programs& programs, Results& results) {
  const ScratchDirectory toolFiles(L"bench-tool"), floorFiles(L"bench-floor"),
      copyFloorFiles(L"bench-copy-floor");
  const std::wstring toolFile = toolFiles / L"tovrex.exe", floorFile = floorFiles / L"tovrex.exe",
                     copyFloorFile = copyFloorFiles / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCutImage();
  if (!WriteWholeFile(toolFile, image) || !WriteWholeFile(floorFile, image) ||
      !WriteWholeFile(copyFloorFile, image))
    Fail("cannot write the synthetic executables");

  // Start-ups; which of the two goes first alternates from round to round. Both stay up for the
  // rest of the round: the floor, once it has shown and cancelled the open dialog, is the memory
  // floor.
  std::unique_ptr<WatchedProcess> tool, floor;
  StartUp toolStart, floorStart;
  Pair(
      round % 2 == 0,
      [&] {
        tool = std::make_unique<WatchedProcess>(Quoted(programs.tool));
        toolStart = TimeStartUp(*tool, L"_Kw_HideOwner", L"PvWindow", true);
      },
      [&] {
        floor = std::make_unique<WatchedProcess>(Quoted(programs.floorWindow));
        floorStart = TimeFloorStartUp(*floor);
      });
  if (toolStart.firstTick < 0 || floorStart.firstTick < 0 || toolStart.firstWindow < 0 ||
      floorStart.firstWindow < 0)
    Fail("a start-up did not finish in time");
  results.shown.tool.push_back(toolStart.shown);
  results.shown.floor.push_back(floorStart.shown);
  results.verdict.tool.push_back(toolStart.firstTick);
  results.verdict.floor.push_back(floorStart.firstTick);
  results.firstWindow.tool.push_back(toolStart.firstWindow);
  results.firstWindow.floor.push_back(floorStart.firstWindow);
  results.firstWindowToShown.tool.push_back(toolStart.shown - toolStart.firstWindow);
  results.firstWindowToShown.floor.push_back(floorStart.shown - floorStart.firstWindow);
  results.shownToVerdict.tool.push_back(toolStart.firstTick - toolStart.shown);
  results.shownToVerdict.floor.push_back(floorStart.firstTick - floorStart.shown);
  const MemoryCounters toolAfterStart = tool->Memory();
  // The floor shows and cancels the open dialog once; its title says when it is gone.
  PostMessageW(floorStart.main, WM_APP, 0, 0);
  if (TimeUntil(floor->SinceStart(),
                [&] { return WindowText(floorStart.main) == L"dialog closed"; }) < 0)
    Fail("the floor did not close its open dialog");

  // The clicks: the tool with its file loaded through the open dialog, the I/O floor with the
  // same content opened at its start; each click on the one followed by the same on the other.
  const MainWindow main{tool->Id(), toolStart.main};
  const PrivateBytesSampler sampler(tool->Handle());
  if (!LoadThroughDialog(main, toolFile)) Fail("the tool did not load the file");
  const MemoryCounters toolAfterLoad = tool->Memory();

  WatchedProcess floorIo(Quoted(programs.floorIo) + L" " + floorFile);
  WatchedProcess copyFloor(Quoted(programs.floorIo) + L" --copy " + copyFloorFile);
  const HWND floorIoWindow = ShownWindow(floorIo, L"BenchFloorIo");
  const HWND copyFloorWindow = ShownWindow(copyFloor, L"BenchFloorIo");
  const HWND copyFloorApply = GetDlgItem(copyFloorWindow, control::ApplyButton);
  const HWND copyFloorResolution = GetDlgItem(copyFloorWindow, control::ResolutionList);
  const HWND floorRead = GetDlgItem(floorIoWindow, control::ReadButton);
  const HWND floorApply = GetDlgItem(floorIoWindow, control::ApplyButton);
  const HWND floorSignature = GetDlgItem(floorIoWindow, control::SignatureBox);
  const HWND floorResolution = GetDlgItem(floorIoWindow, control::ResolutionList);
  const HWND toolRead = main.Control(control::ReadButton, L"Button");
  const HWND toolApply = main.Control(control::ApplyButton, L"Button");
  const HWND toolSignature = main.Control(control::SignatureBox, L"Edit");
  const HWND toolList = main.Control(control::ResolutionList, L"ComboBox");
  if (!toolRead || !toolApply || !toolSignature || !toolList)
    Fail("the tool's controls are missing");

  // The box is emptied first, so that every click has a value to bring.
  const auto timeCheck = [](HWND button, HWND box) {
    SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    Settle(box, "a window did not finish its previous click within 20 s");
    return TimeClick(button, [box] { return WindowText(box) == kSignatureValue; });
  };
  for (int click = 0; click < kClicksPerRound; ++click)
    Pair((click + round) % 2 == 0,
         [&] { Keep(results.check.tool, timeCheck(toolRead, toolSignature), "tool check"); },
         [&] { Keep(results.check.floor, timeCheck(floorRead, floorSignature), "floor check"); });

  const FieldWatch toolFields(toolFile), floorFields(floorFile), copyFloorFields(copyFloorFile);
  for (int click = 0; click < kClicksPerRound; ++click) {
    const Resolution& resolution = kResolutions[click % 2];
    if (!SelectItem(toolList, resolution.item)) Fail("the tool's list lacks a resolution");
    SendMessageW(floorResolution, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(resolution.pair));
    SendMessageW(copyFloorResolution, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(resolution.pair));
    Pair((click + round) % 2 == 0,
         [&] {
           Settle(toolApply, "the tool did not finish its previous click within 20 s");
           Keep(results.apply.tool,
                TimeClick(toolApply, [&] { return toolFields.Holds(resolution); }), "tool apply");
         },
         [&] {
           Settle(copyFloorApply,
                  "the copying floor did not finish its previous click within 20 s");
           Keep(results.apply.floor,
                TimeClick(copyFloorApply, [&] { return copyFloorFields.Holds(resolution); }),
                "copying floor apply");
         });
    Settle(floorApply, "the floor did not finish its previous click within 20 s");
    Keep(results.applyWithoutCopy.tool,
         TimeClick(floorApply, [&] { return floorFields.Holds(resolution); }), "floor apply");
  }
  results.applyWithoutCopy.floor.insert(results.applyWithoutCopy.floor.end(),
                                        results.apply.floor.end() - kClicksPerRound,
                                        results.apply.floor.end());
  Settle(toolApply, "the tool did not finish its last click within 20 s");

  const MemoryCounters toolAfterPatch = tool->Memory();
  const MemoryCounters floorMemory = floor->Memory();
  const uint64_t toolPeak =
      std::max({sampler.Largest(), toolAfterStart.privateBytes, toolAfterLoad.privateBytes,
                toolAfterPatch.privateBytes, toolAfterPatch.peakPrivateBytes});
  const uint64_t floorPeak = std::max(floorMemory.peakPrivateBytes, floorMemory.privateBytes);
  results.memory.tool.push_back(KiB(toolPeak));
  // The patch reads the whole file and, as byte-set replacement does, makes a patched copy of it.
  results.memory.floor.push_back(KiB(floorPeak + 2 * kImageSize));
  for (Measure* m :
       {&results.privateAfterStart, &results.privateAfterLoad, &results.privateAfterPatch})
    m->floor.push_back(KiB(floorMemory.privateBytes));
  results.privateAfterStart.tool.push_back(KiB(toolAfterStart.privateBytes));
  results.privateAfterLoad.tool.push_back(KiB(toolAfterLoad.privateBytes));
  results.privateAfterPatch.tool.push_back(KiB(toolAfterPatch.privateBytes));

  std::printf(
      "round %2d: shown %.0f ms (floor %.0f), first verdict %.0f ms (floor %.0f), "
      "apply %.0f ms (floor %.0f), peak %.0f KiB (floor %.0f)\n",
      round + 1, toolStart.shown, floorStart.shown, toolStart.firstTick, floorStart.firstTick, results.apply.tool.back(),
      results.apply.floor.back(), KiB(toolPeak), results.memory.floor.back());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  if (rounds < 1) Fail("the number of rounds must be at least 1");
  const Programs programs;

  Results results;
  for (int round = 0; round < rounds; ++round) RunRound(round, programs, results);

  const std::vector<Measure> all = results.All();
  std::printf("\n%d rounds; times from CreateProcess or from the posted click, medians.\n\n",
              rounds);
  PrintTable(all);
  const std::wstring table = BesideThisProgram(L"..\\benchmarks.csv");
  const std::wstring runs = BesideThisProgram(L"..\\benchmark-runs.csv");
  if (!WriteCsv(table, all) || !WriteRunsCsv(runs, all)) Fail("cannot write the CSV files");
  return 0;
}
