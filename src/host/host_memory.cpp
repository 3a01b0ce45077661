#include "host/host_memory.h"

#include <windows.h>

#include <cstring>

namespace {
constexpr DWORD executeProtections = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD readProtections =
    (executeProtections & ~static_cast<DWORD>(PAGE_EXECUTE)) | PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY;
// A copy-on-write page takes a write as it stands: the system gives the process its
// own copy.
constexpr DWORD writeProtections = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// The committed region holding address with its protection; false when the address is
// free, only reserved or not to be touched (no access, guard page).
bool CommittedRegion(uintptr_t address, MEMORY_BASIC_INFORMATION& info) {
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) != sizeof info) return false;
  return info.State == MEM_COMMIT && (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) == 0;
}

// Whether every region [address, address + size) touches is committed with one of the
// protections.
bool SpanHasProtection(uintptr_t address, size_t size, DWORD protections) {
  if (size == 0 || address + size < address) return false;
  // A span may cross from one region into the next: every region it touches counts.
  uintptr_t at = address;
  while (at - address < size) {
    MEMORY_BASIC_INFORMATION info{};
    if (!CommittedRegion(at, info) || (info.Protect & protections) == 0) return false;
    const uintptr_t regionEnd = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    if (regionEnd <= at) return false;
    at = regionEnd;
  }
  return true;
}
}  // namespace

bool IsReadableMemory(uintptr_t address, size_t size) { return SpanHasProtection(address, size, readProtections); }

bool IsWritableMemory(uintptr_t address, size_t size) { return SpanHasProtection(address, size, writeProtections); }

bool IsExecutableMemory(uintptr_t address) {
  MEMORY_BASIC_INFORMATION info{};
  return CommittedRegion(address, info) && (info.Protect & executeProtections) != 0;
}

void FlushHostCode(uintptr_t address, size_t size) {
  FlushInstructionCache(GetCurrentProcess(), reinterpret_cast<const void*>(address), size);
}

ProtectionScope::ProtectionScope(uintptr_t address, size_t size) : address(address), size(size) {
  if (size == 0) return;
  DWORD old = 0;
  active = VirtualProtect(reinterpret_cast<void*>(address), size, PAGE_EXECUTE_READWRITE, &old) != 0;
  savedProtection = old;
}

ProtectionScope::~ProtectionScope() { Restore(); }

void ProtectionScope::Restore() {
  if (!active) return;
  active = false;
  DWORD ignored = 0;
  VirtualProtect(reinterpret_cast<void*>(address), size, savedProtection, &ignored);
}

bool ProtectionScope::Covers(uintptr_t start, size_t length) const {
  return start >= address && length <= size && start - address <= size - length;
}

void ReadHostBytes(uintptr_t address, void* bytes, size_t size) {
  // A page whose protection is changed and changed back by two threads at once can be
  // left with the wrong one: no protection is touched that the access does not need.
  if (IsReadableMemory(address, size)) {
    std::memcpy(bytes, reinterpret_cast<const void*>(address), size);
    return;
  }
  ProtectionScope scope(address, size);
  std::memcpy(bytes, reinterpret_cast<const void*>(address), size);
}

void WriteHostBytes(uintptr_t address, const void* bytes, size_t size) {
  if (IsWritableMemory(address, size)) {
    std::memcpy(reinterpret_cast<void*>(address), bytes, size);
    return;
  }
  ProtectionScope scope(address, size);
  std::memcpy(reinterpret_cast<void*>(address), bytes, size);
}

void WriteHostBytes(const ProtectionScope& lifted, uintptr_t address, const void* bytes, size_t size) {
  if (!lifted.Covers(address, size)) {
    WriteHostBytes(address, bytes, size);
    return;
  }
  std::memcpy(reinterpret_cast<void*>(address), bytes, size);
}

uintptr_t ReadRelativeTarget(uintptr_t address, int width) {
  int32_t displacement;
  switch (width) {
    case 1: displacement = ReadHostMemory<int8_t>(address); break;
    case 2: displacement = ReadHostMemory<int16_t>(address); break;
    case 4: displacement = ReadHostMemory<int32_t>(address); break;
    default: return 0;
  }
  return address + static_cast<uintptr_t>(width) + static_cast<uintptr_t>(displacement);
}

void WriteRelativeTarget(uintptr_t address, uintptr_t target) {
  WriteHostCode<uint32_t>(address, static_cast<uint32_t>(target - (address + 4)));
}
