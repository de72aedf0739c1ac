// The file commands, on files of the runtime's open-file list, and the executable's own name.
// Every system error becomes the command's failure value.

#include <windows.h>

#include "runtime/core/command_arguments.h"
#include "runtime/core/commands.h"
#include "runtime/core/memory.h"
#include "runtime/core/open_file.h"
#include "runtime/core/runtime_request.h"

namespace rt {
namespace {

struct OpenMode {
  DWORD access;
  DWORD creation;
};

// By mode 1-6. File contents pass untranslated: the system's handles know no text mode.
constexpr OpenMode kOpenModes[] = {
    {GENERIC_READ, OPEN_EXISTING},                  // read an existing file
    {GENERIC_WRITE, OPEN_EXISTING},                 // write an existing file
    {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},  // read and write an existing file
    {GENERIC_WRITE, CREATE_ALWAYS},                 // create or empty, then write
    {GENERIC_WRITE, OPEN_ALWAYS},                   // open or create, keep the contents, write
    {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},    // as above, read and write
};

// By sharing 1-4: what other openers may do meanwhile.
constexpr DWORD kSharing[] = {
    FILE_SHARE_READ | FILE_SHARE_WRITE,  // read and write
    FILE_SHARE_WRITE,                    // not read
    FILE_SHARE_READ,                     // not write
    0,                                   // neither
};

constexpr int32_t kDefaultMode = 3;
constexpr int32_t kDefaultSharing = 1;

OpenedFile* FileArgument(const Arguments& args) {
  return FindOpenedFile(static_cast<uint32_t>(args.Int(0)));
}

}  // namespace

void GetFileLength(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnInt(result, -1);
  OpenedFile* file = FileArgument(args);
  int64_t length;
  // A length beyond the Int range cannot be told either: a wrapped value would be a wrong one.
  if (file != nullptr && file->Length(&length) && length <= INT32_MAX)
    ReturnInt(result, static_cast<int32_t>(length));
}

void ReadBytes(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnByteSet(result, nullptr);
  const int32_t wanted = args.Int(1);
  OpenedFile* file = FileArgument(args);
  if (wanted < 1 || file == nullptr) return;

  // No more is reserved than the file still holds, so a generous length costs no memory.
  auto size = static_cast<uint32_t>(wanted);
  int64_t length, position;
  if (file->Length(&length) && file->Position(&position)) {
    const int64_t left = length > position ? length - position : 0;
    if (left < size) size = static_cast<uint32_t>(left);
  }
  if (size == 0) return;

  auto* bytes = static_cast<ByteSet>(AllocateOrNull(size + sizeof(ByteSetHeader)));
  uint32_t read = 0;
  if (bytes == nullptr || !file->Read(ByteSetData(bytes), size, &read)) {
    Free(bytes);
    file->Seek(0, SeekOrigin::End);
    return;
  }
  if (read == 0) {
    Free(bytes);
    return;
  }
  *bytes = {1, read};
  if (read < size) bytes = static_cast<ByteSet>(Reallocate(bytes, read + sizeof(ByteSetHeader)));
  ReturnByteSet(result, bytes);
}

void MoveFilePosition(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnBool(result, false);
  OpenedFile* file = FileArgument(args);
  if (file == nullptr) return;
  SeekOrigin origin;
  switch (args.Int(1, 1)) {
    case 1: origin = SeekOrigin::Start; break;
    case 2: origin = SeekOrigin::End; break;
    case 3: origin = SeekOrigin::Current; break;
    default: return;
  }
  // The system refuses a position before the start; one beyond the end is allowed.
  ReturnBool(result, file->Seek(args.Int(2), origin));
}

void MoveToFileStart(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  OpenedFile* file = FileArgument(args);
  ReturnBool(result, file != nullptr && file->Seek(0, SeekOrigin::Start));
}

void WriteBytes(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnBool(result, false);
  OpenedFile* file = FileArgument(args);
  int64_t start;
  if (file == nullptr || !file->Position(&start)) return;
  for (int32_t i = 1; i < args.Count(); ++i) {
    const ByteSpan bytes = args.Bytes(i);
    if (bytes.length == 0) continue;
    if (!file->Write(bytes.data, bytes.length)) {
      // What was written stays written; only the position goes back.
      file->Seek(start, SeekOrigin::Start);
      return;
    }
  }
  ReturnBool(result, true);
}

void OpenFile(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnInt(result, 0);
  // The name is in the system's ANSI code page and goes to the system unchanged.
  const char* name = args.Text(0);
  const int32_t mode = args.Int(1, kDefaultMode);
  const int32_t sharing = args.Int(2, kDefaultSharing);
  if (*name == '\0' || mode < 1 || mode > 6 || sharing < 1 || sharing > 4) return;

  const OpenMode& open = kOpenModes[mode - 1];
  HANDLE handle = CreateFileA(name, open.access, kSharing[sharing - 1], nullptr, open.creation,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  ReturnInt(result, static_cast<int32_t>(ListOpenedFile(new OpenedFile(handle))));
}

void GetExecutableName(ResultRecord* result, int32_t, ArgumentRecord*) {
  const auto* name = reinterpret_cast<const char*>(LibraryRequest(request::ExecutableName));
  ReturnText(result, MakeText(name));
}

}  // namespace rt
