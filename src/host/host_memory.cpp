#include "host/host_memory.h"

#include <windows.h>

#include <cstring>

ProtectionScope::ProtectionScope(uintptr_t address, size_t size) : address(address), size(size) {
  if (size == 0) return;
  DWORD old = 0;
  active = VirtualProtect(reinterpret_cast<void*>(address), size, PAGE_EXECUTE_READWRITE, &old) != 0;
  savedProtection = old;
}

ProtectionScope::~ProtectionScope() {
  if (!active) return;
  DWORD ignored = 0;
  VirtualProtect(reinterpret_cast<void*>(address), size, savedProtection, &ignored);
}

bool ProtectionScope::Covers(uintptr_t start, size_t length) const {
  return start >= address && length <= size && start - address <= size - length;
}

void ReadHostBytes(uintptr_t address, void* bytes, size_t size) {
  ProtectionScope scope(address, size);
  std::memcpy(bytes, reinterpret_cast<const void*>(address), size);
}

void WriteHostBytes(uintptr_t address, const void* bytes, size_t size) {
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
  WriteHostMemory<uint32_t>(address, static_cast<uint32_t>(target - (address + 4)));
}
