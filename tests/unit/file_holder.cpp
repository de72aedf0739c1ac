// The other process of the file tests: holds a file open without sharing until it is told to let
// go. Started under the game executable's name with no file, it is that executable in use.
// Arguments: the name of an event it sets once it is ready, the name of an event it waits for
// before it ends, and optionally the file to hold.

#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (argc > 3) {
    file = CreateFileA(argv[3], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
  }
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
  if (ready == nullptr || release == nullptr) return 4;
  SetEvent(ready);
  // Never outlive a test that went wrong by much.
  const DWORD waited = WaitForSingleObject(release, 120000);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return waited == WAIT_OBJECT_0 ? 0 : 5;
}
