#pragma once
// A plain file that the runtime holds open for the file commands, listed in the runtime's object
// list with kind 1. Its file number is its address: non-zero and distinct among open files. A
// number is taken for an address only after the list has named it an open plain file, so a
// stale or invented number is refused, never followed.

#include <cstddef>
#include <cstdint>

#include "runtime/core/object_registry.h"

namespace rt {

inline constexpr int32_t kPlainFileKind = 1;

// The system's origins of a file-pointer move.
enum class SeekOrigin : uint32_t { Start = 0, Current = 1, End = 2 };

class OpenedFile final : public RuntimeObject {
 public:
  // Takes over the system's file handle.
  explicit OpenedFile(void* handle) : handle_(handle) {}
  // Closes the handle.
  ~OpenedFile() override;
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  // From the runtime's heap: running out of memory is the runtime's fatal error, and the
  // object list deletes what it still holds at shut-down.
  static void* operator new(size_t size);
  static void operator delete(void* block);

  // Each answers false when the system reports an error. Positions are 64-bit.
  bool Length(int64_t* length) const;
  bool Position(int64_t* position) const;
  bool Seek(int64_t distance, SeekOrigin origin);
  // Reads until size bytes are in or the file ends; *read says how many arrived.
  bool Read(void* buffer, uint32_t size, uint32_t* read);
  bool Write(const void* data, uint32_t size);

 private:
  void* handle_;
};

// Lists the file as open and answers its number. When the runtime cannot list it the file is
// closed and the answer is 0.
uint32_t ListOpenedFile(OpenedFile* file);
// The open plain file with this number, or null.
OpenedFile* FindOpenedFile(uint32_t number);

}  // namespace rt
