// What the C++ library does when one of its containers is misused (a length past its maximum, an
// index out of range, an impossible array size): it calls these. The library's own versions throw
// a standard exception that nothing in the program catches, so the process always ended in the
// terminate handler's report; they also bring both std::string ABIs, the standard exception
// classes and a printf-style formatter into the executable (some 80 KB) only to build the
// exception's message. These report at once, exactly as the terminate handler does. Linked with
// the program's entry, so these definitions are in place before the library's are looked for.

#include <bits/functexcept.h>
#include <exception>

// The whole set the library defines together, so that nothing brings in the library's object
// beside these.
namespace std {

// The handler ends the process: it never returns.
#define REPORT { __gnu_cxx::__verbose_terminate_handler(); __builtin_unreachable(); }
void __throw_bad_exception() REPORT
void __throw_bad_alloc() REPORT
void __throw_bad_array_new_length() REPORT
void __throw_bad_cast() REPORT
void __throw_bad_typeid() REPORT
void __throw_logic_error(const char*) REPORT
void __throw_domain_error(const char*) REPORT
void __throw_invalid_argument(const char*) REPORT
void __throw_length_error(const char*) REPORT
void __throw_out_of_range(const char*) REPORT
void __throw_out_of_range_fmt(const char*, ...) REPORT
void __throw_runtime_error(const char*) REPORT
void __throw_range_error(const char*) REPORT
void __throw_overflow_error(const char*) REPORT
void __throw_underflow_error(const char*) REPORT
#undef REPORT

}  // namespace std
