#include "host/host_memory.h"

#include <windows.h>

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

uintptr_t ReadRelativeTarget(uintptr_t address, int width, bool liftProtection) {
  int32_t displacement;
  switch (width) {
    case 1: displacement = ReadHostMemory<int8_t>(address, liftProtection); break;
    case 2: displacement = ReadHostMemory<int16_t>(address, liftProtection); break;
    case 4: displacement = ReadHostMemory<int32_t>(address, liftProtection); break;
    default: return 0;
  }
  return address + static_cast<uintptr_t>(width) + static_cast<uintptr_t>(displacement);
}

void WriteRelativeTarget(uintptr_t address, uintptr_t target, bool liftProtection) {
  WriteHostMemory<uint32_t>(address, static_cast<uint32_t>(target - (address + 4)), liftProtection);
}
