#include "runtime/core/open_file.h"

#include <windows.h>

#include "runtime/core/memory.h"
#include "runtime/core/runtime_request.h"

namespace rt {

OpenedFile::~OpenedFile() { CloseHandle(handle_); }

void* OpenedFile::operator new(size_t size) { return Allocate(size); }
void OpenedFile::operator delete(void* block) { Free(block); }

bool OpenedFile::Length(int64_t* length) const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_, &size)) return false;
  *length = size.QuadPart;
  return true;
}

bool OpenedFile::Position(int64_t* position) const {
  LARGE_INTEGER zero{}, now;
  if (!SetFilePointerEx(handle_, zero, &now, FILE_CURRENT)) return false;
  *position = now.QuadPart;
  return true;
}

bool OpenedFile::Seek(int64_t distance, SeekOrigin origin) {
  LARGE_INTEGER move;
  move.QuadPart = distance;
  return SetFilePointerEx(handle_, move, nullptr, static_cast<DWORD>(origin)) != FALSE;
}

bool OpenedFile::Read(void* buffer, uint32_t size, uint32_t* read) {
  *read = 0;
  while (*read < size) {
    DWORD got = 0;
    if (!ReadFile(handle_, static_cast<char*>(buffer) + *read, size - *read, &got, nullptr))
      return false;
    if (got == 0) break;  // the end of the file
    *read += got;
  }
  return true;
}

bool OpenedFile::Write(const void* data, uint32_t size) {
  uint32_t written = 0;
  while (written < size) {
    DWORD put = 0;
    const char* from = static_cast<const char*>(data) + written;
    if (!WriteFile(handle_, from, size - written, &put, nullptr) || put == 0) return false;
    written += put;
  }
  return true;
}

uint32_t ListOpenedFile(OpenedFile* file) {
  const auto number = reinterpret_cast<uint32_t>(static_cast<RuntimeObject*>(file));
  LibraryRequest(request::AddObject, number, kPlainFileKind);
  if (LibraryRequest(request::ObjectKind, number) == kPlainFileKind) return number;
  delete file;
  return 0;
}

OpenedFile* FindOpenedFile(uint32_t number) {
  if (number == 0 || LibraryRequest(request::ObjectKind, number) != kPlainFileKind) return nullptr;
  return static_cast<OpenedFile*>(reinterpret_cast<RuntimeObject*>(number));
}

}  // namespace rt
