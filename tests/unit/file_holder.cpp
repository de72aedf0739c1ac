// The other process of the file command tests: holds a file open without sharing until it is
// told to let go. Arguments: the file's path, the name of an event it sets once the file is
// held, the name of an event it waits for before letting go.

#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
  if (held == nullptr || release == nullptr) return 4;
  SetEvent(held);
  // Never outlive a test that went wrong by much.
  const DWORD waited = WaitForSingleObject(release, 60000);
  CloseHandle(file);
  return waited == WAIT_OBJECT_0 ? 0 : 5;
}
