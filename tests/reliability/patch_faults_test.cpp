// The patch path under every file fault the tool can meet, each brought about through the real
// tool and its real open dialog. Each table runs in one tool: every row checks the files it
// touched, and after the last row the tool must still load and patch a good file and close
// cleanly. The tool shows no message for any of these faults.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "dialog_attempt.h"
#include "tool_expectations.h"
#include "other_process.h"
#include "tool_session.h"

namespace reliability {
namespace {

using e2e::MainWindow;
using e2e::ScratchDirectory;

const Resolution& kHeld = kResolutions[3];   // given to the file the tool holds before a row
const Resolution& kAtRow = kResolutions[1];  // chosen and applied in the row

// --- Paths the open dialog refuses: the dialog says so (or goes into the folder), stays until
// --- cancelled, and the tool keeps the file it had. -------------------------------------------

TEST(PatchFaults, PathsTheDialogRefusesLeaveTheToolWithItsFile) {
  ScratchDirectory folder(L"refused");
  const std::wstring subfolder = folder / L"a-folder";
  CreateDirectoryW(subfolder.c_str(), nullptr);
  const struct {
    const char* what;
    std::wstring path;
    bool message;  // the dialog shows why over itself
  } rows[] = {
      {"a missing file", folder / L"tovrex.exe", true},
      {"a folder (the dialog opens it)", subfolder, false},
      {"a drive that does not exist", L"R:\\game\\tovrex.exe", true},
  };
  const Session session = RunSession(folder, [&](const MainWindow& main, const Controls& c) {
    uint8_t seed = 40;
    for (const auto& row : rows) {
      SCOPED_TRACE(row.what);
      const std::wstring held = folder / L"held.exe";
      ASSERT_TRUE(LoadGoodFile(main, held, ++seed));
      const DialogAttempt attempt = TypeIntoOpenDialog(main, row.path);
      ASSERT_TRUE(attempt.shown);
      ASSERT_TRUE(attempt.handled) << "the dialog to handle the typed path";
      std::printf("%s: the dialog %s\n", row.what,
                  attempt.message.empty() ? "showed no message" : "showed a message");
      EXPECT_FALSE(attempt.accepted);
      EXPECT_EQ(!attempt.message.empty(), row.message)
          << ::testing::PrintToString(attempt.message);
      ASSERT_TRUE(attempt.closed);
      ASSERT_TRUE(Apply(c, kAtRow));
      EXPECT_TRUE(e2e::FileHolds(held, Patched(Image(kImageSize, seed), kAtRow))) << "the held file";
    }
  });
  RemoveDirectoryW(subfolder.c_str());
  ExpectStillUsable(session);
}

// --- Files the dialog takes but the system will not open for writing: the open fails, the tool
// --- then holds no file and writes nothing anywhere until the next load. ----------------------

// Whether this system lets a process open the file for writing, as the tool asks to.
bool SystemOpensForWriting(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::shared_ptr<void> MadeReadOnly(const std::wstring& path) {
  if (!SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY)) return nullptr;
  return std::shared_ptr<void>(nullptr, [path](void*) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  });
}

std::shared_ptr<void> HeldWithoutSharing(const std::wstring& path) {
  auto holder = std::make_shared<OtherProcess>(HoldingProgram(), path);
  return holder->Ready() ? holder : nullptr;
}

// Started under the game's name, the executable's image is mapped, and a mapped image cannot be
// opened for writing.
std::shared_ptr<void> Running(const std::wstring& path) {
  auto running = std::make_shared<OtherProcess>(path);
  return running->Ready() ? running : nullptr;
}

// The holding program padded with image bytes to the game executable's size.
std::vector<uint8_t> PaddedProgram() {
  const std::vector<uint8_t> program = e2e::ReadWholeFile(HoldingProgram());
  std::vector<uint8_t> image = Image(kImageSize, 9);
  if (program.empty() || program.size() > image.size()) return {};
  std::copy(program.begin(), program.end(), image.begin());
  return image;
}

TEST(PatchFaults, FilesThatCannotBeOpenedForWritingAreNotWritten) {
  ScratchDirectory folder(L"unopenable");
  const struct {
    const char* what;
    std::vector<uint8_t> content;
    std::shared_ptr<void> (*lock)(const std::wstring& path);  // the file stays locked while held
  } rows[] = {
      {"read-only", Image(kImageSize, 7), MadeReadOnly},
      {"held open by another process without sharing", Image(kImageSize, 8), HeldWithoutSharing},
      {"the executable in use by its running process", PaddedProgram(), Running},
  };
  const Session session = RunSession(folder, [&](const MainWindow& main, const Controls& c) {
    uint8_t seed = 50;
    int n = 0;
    for (const auto& row : rows) {
      SCOPED_TRACE(row.what);
      const std::wstring held = folder / L"held.exe";
      const std::wstring target = folder / (L"tovrex-" + std::to_wstring(++n) + L".exe");
      ASSERT_FALSE(row.content.empty());
      ASSERT_TRUE(e2e::WriteWholeFile(target, row.content));
      ASSERT_TRUE(LoadGoodFile(main, held, ++seed));
      ASSERT_TRUE(Apply(c, kHeld));

      bool opens;
      {
        const std::shared_ptr<void> lock = row.lock(target);
        opens = SystemOpensForWriting(target);
        const DialogAttempt attempt = TypeIntoOpenDialog(main, target);
        EXPECT_TRUE(attempt.accepted);
        ASSERT_TRUE(attempt.closed);
        ASSERT_TRUE(Apply(c, kAtRow));
      }
      std::printf("%s: the system %s it for writing\n", row.what, opens ? "opens" : "refuses");
      if (opens) {
        // Wine run as root ignores the read-only attribute for writing (Windows, and Wine for
        // any other user, refuse the open): the system lets the tool in, and it patches the
        // file as it would any other.
        EXPECT_STREQ(row.what, "read-only") << "only the attribute may be overruled";
        EXPECT_TRUE(e2e::FileHolds(target, Patched(row.content, kAtRow)));
        EXPECT_TRUE(e2e::FileHolds(held, Patched(Image(kImageSize, seed), kHeld))) << "the held file";
      } else {
        EXPECT_TRUE(e2e::FileHolds(target, row.content));
        // The failed open left the tool without a file: the one it held is not written either.
        EXPECT_TRUE(e2e::FileHolds(held, Patched(Image(kImageSize, seed), kHeld))) << "the held file";
      }
    }
  });
  ExpectStillUsable(session);
}

// --- Files of every length around the places the tool reads and writes: a field is written only
// --- when it lies wholly inside the file, and the file never grows. ---------------------------

TEST(PatchFaults, FilesOfEveryLengthGetOnlyTheFieldsTheyHoldWhole) {
  ScratchDirectory folder(L"lengths");
  const struct {
    const char* what;
    uint32_t length;
  } rows[] = {
      {"empty", 0},
      {"one byte", 1},
      {"two bytes", 2},
      {"three bytes", 3},
      {"ends inside the signature", kSignatureOffset + 2},
      {"ends inside the width", kWidthOffset + 1},
      {"ends after the width, before the height", kWidthOffset + 2},
      {"ends inside the height", kHeightOffset + 1},
      {"ends right after the height", kHeightOffset + 2},
      {"ends where the fields' pairs end", kFieldsEnd},
      {"one byte longer", kFieldsEnd + 1},
  };
  const Session session = RunSession(folder, [&](const MainWindow& main, const Controls& c) {
    uint8_t seed = 60;
    for (const auto& row : rows) {
      SCOPED_TRACE(row.what);
      const std::wstring target = folder / L"tovrex.exe";
      const std::vector<uint8_t> image = Image(row.length, ++seed);
      ASSERT_TRUE(e2e::WriteWholeFile(target, image));
      ASSERT_TRUE(TypeIntoOpenDialog(main, target).accepted);
      e2e::Click(c.readButton);
      ASSERT_TRUE(Apply(c, kAtRow));
      EXPECT_TRUE(e2e::FileHolds(target, Patched(image, kAtRow)));
    }
  });
  ExpectStillUsable(session);
}

// --- Files too long for the commands' 32-bit lengths. The length command answers -1 for both,
// --- the whole-file read then brings nothing, and nothing is written; the signature is still
// --- read at its offset. --------------------------------------------------------------------

TEST(PatchFaults, FilesBeyondTwoGibibytesAreCheckedButNeverWritten) {
  ScratchDirectory folder(L"large");
  const struct {
    const char* what;
    uint64_t length;
  } rows[] = {
      {"over 2 GiB", 0x80000000ull + kImageSize},
      // Cut to 32 bits, its length would be exactly the game executable's.
      {"over 4 GiB", 0x100000000ull + kImageSize},
  };
  const Session session = RunSession(folder, [&](const MainWindow& main, const Controls& c) {
    uint8_t seed = 80;
    for (const auto& row : rows) {
      SCOPED_TRACE(row.what);
      const std::wstring target = folder / L"tovrex.exe";
      ASSERT_TRUE(MakeSparseFile(target, row.length, ++seed));
      const SparseState made = StateOf(target);
      ASSERT_EQ(made.length, row.length);
      ASSERT_TRUE(TypeIntoOpenDialog(main, target).accepted);
      SendMessageTimeoutW(c.signatureBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
      e2e::Click(c.readButton);
      EXPECT_TRUE(e2e::WaitUntil([&] { return WindowText(c.signatureBox) == L"1701996868"; }))
          << ::testing::PrintToString(WindowText(c.signatureBox));
      ASSERT_TRUE(Apply(c, kAtRow));
      EXPECT_TRUE(StateOf(target) == made) << "length, last write time or marked bytes changed";
    }
  });
  DeleteFileW((folder / L"tovrex.exe").c_str());
  ExpectStillUsable(session);
}

// --- A file of some hundreds of MiB: the patch holds the whole file in memory twice (the read
// --- and the patched copy). Where the second copy finds no room, the runtime ends the tool with
// --- its allocation error box before anything is written; where it fits, the file is patched.
// --- Either way the file is never damaged. -----------------------------------------------------

TEST(PatchFaults, AFileTooLargeToCopyInMemoryIsPatchedOrLeftWhole) {
  constexpr uint64_t kLength = 0x20000000ull + kImageSize;  // 512 MiB and the executable's size
  ScratchDirectory folder(L"copy");
  const std::wstring target = folder / L"tovrex.exe";
  ASSERT_TRUE(MakeSparseFile(target, kLength, 85));
  const SparseState made = StateOf(target);
  ASSERT_EQ(made.length, kLength);
  std::wstring box;
  const e2e::ToolRun run = e2e::RunTool(e2e::BuiltTool(), [&](const MainWindow& main) {
    const Controls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(TypeIntoOpenDialog(main, target).accepted);
    ASSERT_TRUE(Apply(c, kResolutions[0]));
    // Read and answered here: closing the window under the box would end it unread. The click
    // has been handled, so a box it made exists now (its own loop handled Apply's marker).
    const std::vector<HWND> boxes = DialogWindows(main.processId, false);
    if (!boxes.empty()) {
      EXPECT_TRUE(e2e::WaitUntil(
          [&] { return IsWindowVisible(boxes[0]) && !DialogMessage(boxes[0]).empty(); }))
          << "the box to show its message";
      box = DialogMessage(boxes[0]);
      PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
      EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(main.window); }))
          << "the tool's window to go after the box";
    }
  });
  EXPECT_TRUE(run.windowShown);
  ASSERT_TRUE(run.outcome.ended);
  const SparseState now = StateOf(target);
  EXPECT_EQ(now.length, kLength);
  if (!box.empty()) {
    std::printf("a file of %llu bytes: the tool ended with the box %s\n",
                static_cast<unsigned long long>(kLength), ::testing::PrintToString(box).c_str());
    EXPECT_NE(box.find(L"字节内存失败"), std::wstring::npos) << ::testing::PrintToString(box);
    EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
    EXPECT_TRUE(now == made) << "written before the failure";
  } else {
    std::printf("a file of %llu bytes: patched\n", static_cast<unsigned long long>(kLength));
    EXPECT_EQ(run.outcome.exitCode, 0u);
    const Resolution& r = kResolutions[0];
    EXPECT_EQ(FieldsIn(target), std::vector<uint8_t>(r.fields, r.fields + 4));
  }
  DeleteFileW(target.c_str());
}

// --- The loaded file changed by another process between the load and the click: the click sees
// --- the file as it is then. -----------------------------------------------------------------

bool CutTo(const std::wstring& path, uint32_t length) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool cut = SetFilePointer(file, static_cast<LONG>(length), nullptr, FILE_BEGIN) == length &&
                   SetEndOfFile(file);
  CloseHandle(file);
  return cut;
}

TEST(PatchFaults, AFileChangedAfterLoadingIsTakenAsItIsAtTheClick) {
  ScratchDirectory folder(L"changed");
  const std::wstring spare = folder / L"spare.exe";
  const std::vector<uint8_t> loaded = Image(kImageSize, 90);
  const std::vector<uint8_t> other = Image(kImageSize + 7, 91, false);
  const struct {
    const char* what;
    // Changes the file the tool holds open; false if the change could not be made.
    std::function<bool(const std::wstring& path)> change;
    std::vector<uint8_t> expected;
  } rows[] = {
      {"cut short of the fields", [](const std::wstring& p) { return CutTo(p, 100); },
       Image(100, 90)},
      {"cut inside the height", [](const std::wstring& p) { return CutTo(p, kHeightOffset + 1); },
       Patched(Image(kHeightOffset + 1, 90), kAtRow)},
      {"rewritten in place with another image",
       [&](const std::wstring& p) { return e2e::WriteWholeFile(p, other); },
       Patched(other, kAtRow)},
      // The tool opens the file without letting others delete it: neither a rename over it nor
      // a delete gets through (so on Windows; Wine keeps the same rule), and the click writes
      // the file it loaded.
      {"replaced by a rename (refused)",
       [&](const std::wstring& p) {
         return e2e::WriteWholeFile(spare, other) &&
                !MoveFileExW(spare.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING);
       },
       Patched(loaded, kAtRow)},
      {"deleted (refused)", [](const std::wstring& p) { return !DeleteFileW(p.c_str()); },
       Patched(loaded, kAtRow)},
  };
  const Session session = RunSession(folder, [&](const MainWindow& main, const Controls& c) {
    int n = 0;
    for (const auto& row : rows) {
      SCOPED_TRACE(row.what);
      const std::wstring target = folder / (L"tovrex-" + std::to_wstring(++n) + L".exe");
      ASSERT_TRUE(e2e::WriteWholeFile(target, loaded));
      ASSERT_TRUE(TypeIntoOpenDialog(main, target).accepted);
      ASSERT_TRUE(row.change(target));
      ASSERT_TRUE(Apply(c, kAtRow));
      EXPECT_TRUE(e2e::FileHolds(target, row.expected));
    }
  });
  ExpectStillUsable(session);
}

}  // namespace
}  // namespace reliability
