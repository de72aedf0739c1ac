#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_calls.h"
#include "heap_blocks.h"
#include "runtime/core/ansi_path.h"
#include "runtime/core/object_registry.h"
#include "runtime/core/open_file.h"
#include "tool_files.h"

namespace rt::command_test {
namespace {

std::optional<std::string> AsString(const std::optional<Bytes>& bytes) {
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

Bytes AsBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Whether another opener gets the file with this access while the command's file is open.
bool OthersCanOpen(const std::string& path, DWORD access) {
  HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

class FileCommands : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    static int folders = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "qr-files-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++folders);
    CreateDirectoryA(dir_.c_str(), nullptr);
    path_ = dir_ + "\\tovrex.exe";
  }

  void TearDown() override {
    for (uint32_t number : opened_)
      if (FindOpenedFile(number) != nullptr) Close(number);
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(dir_.c_str());
    CommandTest::TearDown();
  }

  void Store(const std::string& bytes) {
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
  }

  // The file's bytes as the system has them; nullopt when there is no file.
  std::optional<std::string> Stored() const {
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    bytes.resize(read);
    return bytes;
  }

  uint32_t Open(std::vector<ArgumentRecord> args) {
    const auto number = static_cast<uint32_t>(IntResult(Call(OpenFile, args)));
    if (number != 0) opened_.push_back(number);
    return number;
  }
  uint32_t Open(int32_t mode, int32_t sharing = 1) {
    return Open({TextArg(path_.c_str()), IntArg(mode), IntArg(sharing)});
  }

  // There is no closing command: the runtime closes at shut-down what is still listed. A test
  // closes a file as that does, after taking it off the list.
  static void Close(uint32_t number) {
    OpenedFile* file = FindOpenedFile(number);
    ASSERT_NE(file, nullptr);
    LibraryRequest(request::RemoveObject, number);
    delete file;
  }

  static ArgumentRecord Number(uint32_t number) { return IntArg(static_cast<int32_t>(number)); }
  static std::optional<std::string> Read(uint32_t number, int32_t length) {
    return AsString(TakeBytes(Call(ReadBytes, {Number(number), IntArg(length)})));
  }
  static bool Write(uint32_t number, const std::vector<std::string>& parts) {
    std::vector<ByteSetValue> sets;
    for (const std::string& part : parts) sets.emplace_back(AsBytes(part));
    std::vector<ArgumentRecord> args = {Number(number)};
    for (const ByteSetValue& set : sets) args.push_back(set.Arg());
    return BoolResult(Call(WriteBytes, args));
  }
  static bool Move(uint32_t number, ArgumentRecord origin, int32_t offset) {
    return BoolResult(Call(MoveFilePosition, {Number(number), origin, IntArg(offset)}));
  }
  static bool ToStart(uint32_t number) {
    return BoolResult(Call(MoveToFileStart, {Number(number)}));
  }
  static int32_t Length(uint32_t number) {
    return IntResult(Call(GetFileLength, {Number(number)}));
  }

  std::string dir_;
  std::string path_;
  std::vector<uint32_t> opened_;
};

TEST_F(FileCommands, EveryModeOpensReadsAndWritesAsItSays) {
  const struct {
    int32_t mode;
    bool exists;
    bool opens;
    bool reads;
    bool writes;
    const char* after;  // the file after "XY" was written at the start; null: no file
  } rows[] = {
      {1, true, true, true, false, "hello"},
      {1, false, false, false, false, nullptr},
      {2, true, true, false, true, "XYllo"},
      {2, false, false, false, false, nullptr},
      {3, true, true, true, true, "XYllo"},
      {3, false, false, false, false, nullptr},
      {4, true, true, false, true, "XY"},  // emptied first
      {4, false, true, false, true, "XY"},
      {5, true, true, false, true, "XYllo"},
      {5, false, true, false, true, "XY"},
      {6, true, true, true, true, "XYllo"},
      {6, false, true, true, true, "XY"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("mode " + std::to_string(row.mode) + (row.exists ? ", existing" : ", missing"));
    DeleteFileA(path_.c_str());
    if (row.exists) Store("hello");
    const uint32_t number = Open(row.mode);
    EXPECT_EQ(number != 0, row.opens);
    if (number != 0) {
      // The position starts at 0, so the bytes land at the start.
      EXPECT_EQ(Write(number, {"XY"}), row.writes);
      EXPECT_TRUE(ToStart(number));
      EXPECT_EQ(Read(number, 5), row.reads ? Opt(row.after) : std::nullopt);
      Close(number);
    }
    EXPECT_EQ(Stored(), Opt(row.after));
  }
}

TEST_F(FileCommands, EverySharingValueLimitsOtherOpeners) {
  const struct {
    int32_t sharing;
    bool othersRead;
    bool othersWrite;
  } rows[] = {{1, true, true}, {2, false, true}, {3, true, false}, {4, false, false}};
  Store("hello");
  for (const auto& row : rows) {
    SCOPED_TRACE("sharing " + std::to_string(row.sharing));
    const uint32_t number = Open(3, row.sharing);
    ASSERT_NE(number, 0u);
    EXPECT_EQ(OthersCanOpen(path_, GENERIC_READ), row.othersRead);
    EXPECT_EQ(OthersCanOpen(path_, GENERIC_WRITE), row.othersWrite);
    Close(number);
  }
}

TEST_F(FileCommands, OmittedModeAndSharingReadAndWriteAnExistingFileSharedWithOthers) {
  EXPECT_EQ(Open({TextArg(path_.c_str()), Omitted(), Omitted()}), 0u);  // not created
  EXPECT_EQ(Stored(), std::nullopt);
  Store("hello");
  const struct {
    std::vector<ArgumentRecord> args;
    const char* letter;
  } calls[] = {
      {{TextArg(path_.c_str()), Omitted(), Omitted()}, "L"},
      {{TextArg(path_.c_str())}, "M"},  // no records for them at all
  };
  for (const auto& call : calls) {
    const uint32_t number = Open(call.args);
    ASSERT_NE(number, 0u);
    EXPECT_TRUE(OthersCanOpen(path_, GENERIC_READ | GENERIC_WRITE));
    EXPECT_EQ(Read(number, 2), Opt("he"));
    EXPECT_TRUE(Write(number, {call.letter}));
    Close(number);
    EXPECT_EQ(Stored(), "he" + std::string(call.letter) + "lo");
  }
}

TEST_F(FileCommands, RefusedOpensGiveZeroAndKeepNothing) {
  Store("hello");
  const std::string missing = dir_ + "\\missing.exe";
  const size_t before = BusyHeapBlocks();
  const struct {
    const char* what;
    const char* name;
    int32_t mode;
    int32_t sharing;
  } rows[] = {
      {"empty name", "", 3, 1},
      {"mode 0", path_.c_str(), 0, 1},
      {"mode 7", path_.c_str(), 7, 1},
      {"mode -1", path_.c_str(), -1, 1},
      {"sharing 0", path_.c_str(), 3, 0},
      {"sharing 5", path_.c_str(), 3, 5},
      {"missing file", missing.c_str(), 1, 1},
      {"a directory", dir_.c_str(), 3, 1},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Open({TextArg(row.name), IntArg(row.mode), IntArg(row.sharing)}), 0u) << row.what;
  EXPECT_EQ(BusyHeapBlocks(), before);
  EXPECT_EQ(Stored(), Opt("hello"));
}

TEST_F(FileCommands, EachOpenHasItsOwnNumberAndPosition) {
  Store("0123456789");
  const uint32_t first = Open(1);
  const uint32_t second = Open(1);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(Read(first, 3), Opt("012"));
  EXPECT_EQ(Read(second, 1), Opt("0"));
  Close(first);
  EXPECT_EQ(Read(second, 1), Opt("1"));
}

TEST_F(FileCommands, ReadBytesReadsWhatIsThereAndStopsAtTheEnd) {
  Store("0123456789");
  const uint32_t number = Open(3);
  ASSERT_NE(number, 0u);
  const size_t before = BusyHeapBlocks();
  EXPECT_EQ(Read(number, 0), std::nullopt);
  EXPECT_EQ(Read(number, -1), std::nullopt);
  EXPECT_EQ(Read(number, 4), Opt("0123"));  // nothing moved by the refused lengths
  EXPECT_EQ(Read(number, 100), Opt("456789"));
  EXPECT_EQ(Read(number, 1), std::nullopt);
  EXPECT_EQ(Read(number, INT_MAX), std::nullopt);
  EXPECT_TRUE(ToStart(number));
  EXPECT_EQ(Read(number, INT_MAX), Opt("0123456789"));  // no 2 GiB buffer needed for that
  EXPECT_EQ(Read(number, 1), std::nullopt);
  EXPECT_EQ(BusyHeapBlocks(), before);
  // The position stayed at the end: the next bytes are appended.
  EXPECT_TRUE(Write(number, {"X"}));
  EXPECT_EQ(Stored(), Opt("0123456789X"));
  EXPECT_EQ(Length(number), 11);
}

TEST_F(FileCommands, AReadErrorMovesThePositionToTheEnd) {
  Store("0123456789");
  const uint32_t number = Open(2);  // write only: every read fails
  ASSERT_NE(number, 0u);
  EXPECT_TRUE(Move(number, IntArg(1), 3));
  const size_t before = BusyHeapBlocks();
  EXPECT_EQ(Read(number, 4), std::nullopt);
  EXPECT_EQ(BusyHeapBlocks(), before);
  EXPECT_TRUE(Write(number, {"X"}));
  EXPECT_EQ(Stored(), Opt("0123456789X"));
}

TEST_F(FileCommands, MoveFilePositionByOrigin) {
  const struct {
    const char* what;
    ArgumentRecord origin;
    int32_t offset;
    bool moved;
    const char* next;  // the byte read after the move, from position 2 when nothing moved
  } rows[] = {
      {"from the start", IntArg(1), 3, true, "3"},
      {"origin omitted", Omitted(), 3, true, "3"},
      {"from the end", IntArg(2), -2, true, "8"},
      {"from here", IntArg(3), 1, true, "3"},
      {"back from here", IntArg(3), -2, true, "0"},
      {"to the end", IntArg(2), 0, true, nullptr},
      {"beyond the end", IntArg(1), 100, true, nullptr},
      {"before the start", IntArg(1), -1, false, "2"},
      {"before the start from the end", IntArg(2), -11, false, "2"},
      {"before the start from here", IntArg(3), -3, false, "2"},
      {"origin 0", IntArg(0), 0, false, "2"},
      {"origin 4", IntArg(4), 0, false, "2"},
  };
  Store("0123456789");
  const uint32_t number = Open(1);
  ASSERT_NE(number, 0u);
  for (const auto& row : rows) {
    ASSERT_TRUE(ToStart(number));
    ASSERT_EQ(Read(number, 2), Opt("01"));
    EXPECT_EQ(Move(number, row.origin, row.offset), row.moved) << row.what;
    EXPECT_EQ(Read(number, 1), Opt(row.next)) << row.what;
  }
  EXPECT_EQ(Length(number), 10);  // moving beyond the end does not grow the file
}

TEST_F(FileCommands, WriteBytesWritesEachByteSetWhereThePreviousEnded) {
  Store("0123456789");
  const uint32_t number = Open(3);
  ASSERT_NE(number, 0u);
  EXPECT_TRUE(Write(number, {"ab", "", "cd"}));
  EXPECT_EQ(Stored(), Opt("abcd456789"));
  EXPECT_EQ(Read(number, 1), Opt("4"));

  // Only empty byte sets, or none at all: nothing is written and the position stays.
  EXPECT_TRUE(Write(number, {"", ""}));
  EXPECT_TRUE(Write(number, {}));
  EXPECT_EQ(Stored(), Opt("abcd456789"));
  EXPECT_EQ(Read(number, 1), Opt("5"));
  EXPECT_EQ(Length(number), 10);
}

TEST_F(FileCommands, BytesPassUntranslated) {
  const std::string bytes("a\r\nb\n\x1A\0c\r", 9);
  const uint32_t number = Open(6);
  ASSERT_NE(number, 0u);
  EXPECT_TRUE(Write(number, {bytes}));
  EXPECT_EQ(Stored(), bytes);
  EXPECT_TRUE(ToStart(number));
  EXPECT_EQ(Read(number, 100), bytes);
  EXPECT_EQ(Length(number), 9);
}

// A byte set whose bytes lie in a page that cannot be read: the system refuses to write them.
class UnreadableByteSet {
 public:
  UnreadableByteSet() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    page_ = info.dwPageSize;
    pages_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(pages_ + page_, page_, PAGE_NOACCESS, &old);
    auto* header = reinterpret_cast<ByteSetHeader*>(pages_ + page_ - sizeof(ByteSetHeader));
    *header = {1, 16};
  }
  ~UnreadableByteSet() { VirtualFree(pages_, 0, MEM_RELEASE); }
  ArgumentRecord Arg() const {
    return {reinterpret_cast<uint32_t>(pages_ + page_ - sizeof(ByteSetHeader)), 0, tag::ByteSet};
  }

 private:
  uint32_t page_;
  uint8_t* pages_;
};

TEST_F(FileCommands, AWriteErrorKeepsWhatWasWrittenAndRestoresThePosition) {
  Store("0123456789");
  const uint32_t number = Open(3);
  ASSERT_NE(number, 0u);
  EXPECT_TRUE(Move(number, IntArg(1), 1));
  const ByteSetValue ab(AsBytes("ab"));
  const UnreadableByteSet unreadable;
  EXPECT_FALSE(BoolResult(Call(WriteBytes, {Number(number), ab.Arg(), unreadable.Arg()})));
  EXPECT_EQ(Read(number, 3), Opt("ab3"));  // back at 1, and "ab" stayed
  EXPECT_EQ(Stored(), Opt("0ab3456789"));

  // A file opened for reading only refuses every write.
  const uint32_t readOnly = Open(1);
  EXPECT_FALSE(Write(readOnly, {"z"}));
  EXPECT_EQ(Read(readOnly, 2), Opt("0a"));
}

struct OtherKind : RuntimeObject {};

TEST_F(FileCommands, NumbersThatAreNotOpenAreRefusedByEveryFileCommand) {
  Store("0123456789");
  const uint32_t closed = Open(3);
  ASSERT_NE(closed, 0u);
  Close(closed);
  auto* other = new OtherKind;
  LibraryRequest(request::AddObject, reinterpret_cast<uint32_t>(other), 2);
  int32_t local = 0;

  const struct {
    const char* what;
    uint32_t number;
  } rows[] = {
      {"zero", 0},
      {"never opened", 12345},
      {"an address", reinterpret_cast<uint32_t>(&local)},
      {"closed", closed},
      {"an object of another kind", reinterpret_cast<uint32_t>(static_cast<RuntimeObject*>(other))},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Length(row.number), -1);
    EXPECT_EQ(Read(row.number, 4), std::nullopt);
    EXPECT_FALSE(Move(row.number, IntArg(1), 1));
    EXPECT_FALSE(ToStart(row.number));
    EXPECT_FALSE(Write(row.number, {"X"}));
  }
  EXPECT_EQ(Stored(), Opt("0123456789"));
  LibraryRequest(request::RemoveObject, reinterpret_cast<uint32_t>(other));
  delete other;
}

TEST_F(FileCommands, ClosingReleasesTheFile) {
  Store("hello");
  Close(Open(3, 4));  // the runtime's object list keeps the room it has grown to
  const size_t before = BusyHeapBlocks();
  const uint32_t number = Open(3, 4);
  ASSERT_NE(number, 0u);
  EXPECT_FALSE(OthersCanOpen(path_, GENERIC_READ));
  Close(number);
  EXPECT_TRUE(OthersCanOpen(path_, GENERIC_READ));
  EXPECT_EQ(BusyHeapBlocks(), before);
}

TEST_F(FileCommands, GetFileLength) {
  Store("");
  const uint32_t number = Open(3);
  ASSERT_NE(number, 0u);
  EXPECT_EQ(Length(number), 0);
  EXPECT_TRUE(Write(number, {std::string(70000, 'x')}));
  EXPECT_EQ(Length(number), 70000);
}

TEST_F(FileCommands, PositionsReachBeyondTheIntRangeWhoseLengthCannotBeTold) {
  // 3 GiB with "AB" at the end; the system keeps the gap sparse.
  HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = 3LL << 30;
  end.QuadPart -= 2;
  SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
  DWORD written = 0;
  WriteFile(h, "AB", 2, &written, nullptr);
  CloseHandle(h);
  ASSERT_EQ(written, 2u);

  const uint32_t number = Open(1);
  ASSERT_NE(number, 0u);
  EXPECT_EQ(Length(number), -1);  // not a wrapped number
  EXPECT_TRUE(Move(number, IntArg(2), -2));
  EXPECT_EQ(Read(number, 10), Opt("AB"));
  EXPECT_TRUE(Move(number, IntArg(3), -3));
  EXPECT_EQ(Read(number, 1), std::string(1, '\0'));
  EXPECT_EQ(Read(number, 1), Opt("A"));
}

// Both ends of the Int range: the last length that can be told, and the first that cannot.
TEST_F(FileCommands, TheLengthAtTheEdgeOfTheIntRange) {
  const std::wstring path = ExactWide(path_).value();
  const struct {
    uint64_t length;
    int32_t told;
  } rows[] = {
      {0x7FFFFFFF, 2147483647},
      {0x80000000, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.length);
    ASSERT_TRUE(reliability::MakeSparseFile(path, row.length, 1));
    const uint32_t number = Open(1);
    ASSERT_NE(number, 0u);
    EXPECT_EQ(Length(number), row.told);
    Close(number);
  }
}

// A path beyond MAX_PATH as the wide file functions take it: in its extended form.
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }

// Folders of one name inside each other under base, until a file in the deepest has a path
// well beyond MAX_PATH: more than the short names of the folders above base can take off. The
// folders made, outermost first.
std::vector<std::wstring> NestedFolders(const std::wstring& base, const std::wstring& name) {
  std::vector<std::wstring> folders = {base};
  CreateDirectoryW(Extended(base).c_str(), nullptr);
  while (folders.back().size() + std::wstring(L"\\tovrex.exe").size() <= base.size() + MAX_PATH) {
    folders.push_back(folders.back() + L"\\" + name);
    CreateDirectoryW(Extended(folders.back()).c_str(), nullptr);
  }
  return folders;
}

// A path the ANSI functions cannot take, turned into the ANSI path the open dialog's choice
// becomes, with the system's own short names: opened and written by its short form where that
// one fits, else not opened at all.
TEST_F(FileCommands, APathBeyondMaxPathOpensByItsShortFormOrNotAtAll) {
  const std::wstring here = ExactWide(dir_).value();
  const struct {
    const char* name;
    const wchar_t* folderName;
    bool opens;
  } rows[] = {
      {"long names, whose short forms are short", L"a folder with a long name", true},
      {"names that are their own short forms", L"deepdir", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<std::wstring> folders = NestedFolders(here + L"\\deep", row.folderName);
    const std::wstring wide = folders.back() + L"\\tovrex.exe";
    ASSERT_GT(wide.size(), static_cast<size_t>(MAX_PATH));
    HANDLE h = CreateFileW(Extended(wide).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "hello", 5, &written, nullptr);
    CloseHandle(h);

    const std::optional<std::string> path = AnsiPath(wide);
    const uint32_t number = path ? Open({TextArg(path->c_str()), IntArg(3), IntArg(1)}) : 0;
    EXPECT_EQ(number != 0, row.opens);
    if (number != 0) {
      EXPECT_TRUE(Write(number, {"XY"}));
      Close(number);
    }

    h = CreateFileW(Extended(wide).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char bytes[8] = {};
    DWORD read = 0;
    ReadFile(h, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(bytes, read), row.opens ? "XYllo" : "hello");

    DeleteFileW(Extended(wide).c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
      RemoveDirectoryW(Extended(*folder).c_str());
  }
}

TEST_F(FileCommands, WithoutTheRuntimesListNothingStaysOpen) {
  Store("hello");
  KeepRequestFunction(nullptr);
  const size_t before = BusyHeapBlocks();
  EXPECT_EQ(Open(3, 4), 0u);
  EXPECT_EQ(BusyHeapBlocks(), before);
  EXPECT_TRUE(OthersCanOpen(path_, GENERIC_READ));
}

TEST_F(FileCommands, AFileHeldByAnotherProcessWithoutSharingDoesNotOpen) {
  Store("hello");
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string heldName = "qr-file-held-" + tag;
  const std::string releaseName = "qr-file-release-" + tag;
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, heldName.c_str());
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
  ASSERT_NE(held, nullptr);
  ASSERT_NE(release, nullptr);

  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string holder(self);
  holder.resize(holder.find_last_of('\\') + 1);
  holder += "file_holder.exe";
  std::string line = "\"" + holder + "\" " + heldName + " " + releaseName + " \"" + path_ + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &process));
  const HANDLE waitFor[] = {held, process.hProcess};
  const DWORD woke = WaitForMultipleObjects(2, waitFor, FALSE, 30000);
  EXPECT_EQ(woke, WAIT_OBJECT_0) << "the other process did not take the file";

  if (woke == WAIT_OBJECT_0) {
    for (int32_t mode = 1; mode <= 6; ++mode)
      for (int32_t sharing = 1; sharing <= 4; ++sharing)
        EXPECT_EQ(Open(mode, sharing), 0u) << "mode " << mode << ", sharing " << sharing;
  }
  SetEvent(release);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(held);
  CloseHandle(release);

  EXPECT_EQ(Stored(), Opt("hello"));  // mode 4 emptied nothing
  EXPECT_NE(Open(3), 0u);             // let go, the file opens again
}

const char kLauncherCopy[] = "quenmire-res.tmp";

int32_t AnswerTheExecutableName(int32_t code, uint32_t, uint32_t) {
  if (code != request::ExecutableName) return 0;
  return static_cast<int32_t>(reinterpret_cast<uint32_t>(kLauncherCopy));
}

TEST(GetExecutableName, CopiesTheNameTheRuntimeRecorded) {
  KeepRequestFunction(AnswerTheExecutableName);
  const ResultRecord result = Call(GetExecutableName, {});
  EXPECT_NE(reinterpret_cast<const char*>(result.low), kLauncherCopy);
  EXPECT_EQ(TakeText(result), Opt(kLauncherCopy));
  KeepRequestFunction(nullptr);
  EXPECT_EQ(TakeText(Call(GetExecutableName, {})), std::nullopt);  // before the runtime answers
}

}  // namespace
}  // namespace rt::command_test
