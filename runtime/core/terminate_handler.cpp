// What runs when an exception escapes or std::terminate is called: the runtime's error box, then
// the end of the process with exit code -1, as for every other fault found at run time. The
// library's default handler would describe the exception on a console that this GUI program does
// not have (it brings a C++ name demangler of some 45 KB to do it) and then abort() with exit
// code 3, telling the user nothing. Linked with the program's entry, so this definition is in
// place before the library's is looked for.

#include <windows.h>

#include <atomic>

#include "runtime/core/error_reporter.h"

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  // A fault inside the report itself must not come back here for ever.
  static std::atomic<bool> reporting = false;
  if (reporting.exchange(true)) ExitProcess(static_cast<UINT>(-1));
  rt::Report(nullptr, 0);
}

}  // namespace __gnu_cxx
