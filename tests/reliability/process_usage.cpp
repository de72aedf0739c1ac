#include "process_usage.h"

#include <winternl.h>

#include <map>
#include <vector>

namespace reliability {
namespace {

// The system handle table's rows (information class 16), as the system lays them out.
struct HandleRow {
  USHORT processId;
  USHORT creatorBackTraceIndex;
  UCHAR objectType;
  UCHAR attributes;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct HandleTable {
  ULONG count;
  HandleRow rows[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

bool ReadHandleTable(std::vector<uint8_t>& buffer) {
  using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"),
                                             "NtQuerySystemInformation")));
  if (query == nullptr) return false;
  buffer.resize(1 << 16);
  NTSTATUS status;
  ULONG needed = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  return status == 0;
}

// The table names object types by number only: the types of a file handle and of a registry
// key are learnt from one of each that this process opens for the purpose.
bool CountHandles(DWORD processId, ProcessUsage& usage) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  HANDLE file = CreateFileW(self, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key);
  std::vector<uint8_t> buffer;
  const bool read = file != INVALID_HANDLE_VALUE && key != nullptr && ReadHandleTable(buffer);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (key != nullptr) RegCloseKey(key);
  if (!read) return false;
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  const auto valueOf = [](const void* handle) {
    return static_cast<USHORT>(reinterpret_cast<uintptr_t>(handle));
  };
  int fileType = -1, keyType = -1;
  for (ULONG i = 0; i < table->count; ++i) {
    const HandleRow& row = table->rows[i];
    if (row.processId != static_cast<USHORT>(GetCurrentProcessId())) continue;
    if (row.value == valueOf(file)) fileType = row.objectType;
    if (row.value == valueOf(key)) keyType = row.objectType;
  }
  if (fileType < 0 || keyType < 0) return false;
  usage.handles = usage.fileHandles = usage.keyHandles = 0;
  for (ULONG i = 0; i < table->count; ++i) {
    const HandleRow& row = table->rows[i];
    if (row.processId != static_cast<USHORT>(processId)) continue;
    ++usage.handles;
    if (row.objectType == fileType) ++usage.fileHandles;
    if (row.objectType == keyType) ++usage.keyHandles;
  }
  return true;
}

bool CountPrivateBytes(HANDLE process, uint64_t* bytes) {
  *bytes = 0;
  MEMORY_BASIC_INFORMATION region;
  const uint8_t* at = nullptr;
  while (VirtualQueryEx(process, at, &region, sizeof region) == sizeof region) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) *bytes += region.RegionSize;
    const uint8_t* next = static_cast<const uint8_t*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;  // the top of the address space
    at = next;
  }
  return *bytes > 0;
}

// The name of the kind of object a handle of another process holds, read from a copy of it.
std::wstring KindOf(HANDLE process, USHORT value) {
  using Query = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  HANDLE copy = nullptr;
  if (query == nullptr ||
      !DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)),
                       GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return L"?";
  alignas(8) uint8_t buffer[1024];
  constexpr ULONG kObjectTypeInformation = 2;
  const NTSTATUS status = query(copy, kObjectTypeInformation, buffer, sizeof buffer, nullptr);
  CloseHandle(copy);
  if (status != 0) return L"?";
  const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer);
  return name->Length == 0 ? L"?" : std::wstring(name->Buffer, name->Length / sizeof(wchar_t));
}

}  // namespace

std::string HandleKindsOf(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId);
  std::vector<uint8_t> buffer;
  if (process == nullptr || !ReadHandleTable(buffer)) {
    if (process != nullptr) CloseHandle(process);
    return "(the handle table could not be read)";
  }
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  std::map<UCHAR, std::pair<USHORT, uint32_t>> kinds;  // type: a handle of it, how many
  for (ULONG i = 0; i < table->count; ++i) {
    const HandleRow& row = table->rows[i];
    if (row.processId != static_cast<USHORT>(processId)) continue;
    auto& kind = kinds.try_emplace(row.objectType, row.value, 0).first->second;
    ++kind.second;
  }
  std::string text;
  for (const auto& [type, kind] : kinds) {
    const std::wstring name = KindOf(process, kind.first);
    text += (text.empty() ? "" : ", ") + std::string(name.begin(), name.end()) + " " +
            std::to_string(kind.second);
  }
  CloseHandle(process);
  return text;
}

ProcessUsage UsageOf(DWORD processId) {
  ProcessUsage usage;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return usage;
  usage.read = CountPrivateBytes(process, &usage.privateBytes) && CountHandles(processId, usage);
  CloseHandle(process);
  return usage;
}

}  // namespace reliability
