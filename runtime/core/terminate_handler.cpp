// What runs when an exception escapes or std::terminate is called: the process ends at once
// with the abort code. The library's default handler would describe the exception on a console
// that this GUI program does not have, and brings a C++ name demangler (some 45 KB) to do it.
// Linked with the program's entry, so this definition is in place before the library's is
// looked for.

#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
