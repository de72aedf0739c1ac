// A small library that the binding tests load as a DLL command library. Two builds of it share
// the file name probe.dll; PROBE_BUILD tells them apart, and each .def file chooses what the
// build exports.

#include <cstdint>

extern "C" {

uint32_t __stdcall Identify() { return PROBE_BUILD; }

// Hands its arguments back through out, in the order the callee sees them.
uint32_t __stdcall Collect(uint32_t* out, uint32_t first, uint32_t second, uint32_t third) {
  out[0] = first;
  out[1] = second;
  out[2] = third;
  return 0x89ABCDEFu;  // high bit set: a result that must not be widened or converted
}

// Exported by ordinal only.
uint32_t __stdcall Twelve() { return 12; }

}  // extern "C"
