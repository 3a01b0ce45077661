// Reads and writes of host memory, with the page protection lifted where the host's
// pages do not allow the access (its code is execute-read).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// Lifts the protection of [address, address + size) to execute-read-write for its
// lifetime and puts the old protection back. A size of 0, or a failing
// VirtualProtect, leaves it inactive; the access is attempted all the same.
class ProtectionScope {
 public:
  ProtectionScope(uintptr_t address, size_t size);
  ~ProtectionScope();
  ProtectionScope(const ProtectionScope&) = delete;
  ProtectionScope& operator=(const ProtectionScope&) = delete;
  bool Active() const { return active; }

 private:
  uintptr_t address;
  size_t size;
  uint32_t savedProtection = 0;
  bool active = false;
};

template <typename T>
T ReadHostMemory(uintptr_t address, bool liftProtection) {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4, "widths 1, 2 and 4");
  ProtectionScope scope(address, liftProtection ? sizeof(T) : 0);
  T value;
  std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof(T));
  return value;
}

template <typename T>
void WriteHostMemory(uintptr_t address, T value, bool liftProtection) {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4, "widths 1, 2 and 4");
  ProtectionScope scope(address, liftProtection ? sizeof(T) : 0);
  std::memcpy(reinterpret_cast<void*>(address), &value, sizeof(T));
}

// address + width + the signed displacement of that width stored at address; 0 for a
// width other than 1, 2 or 4.
uintptr_t ReadRelativeTarget(uintptr_t address, int width, bool liftProtection);
// Stores the 4-byte displacement target - (address + 4) at address.
void WriteRelativeTarget(uintptr_t address, uintptr_t target, bool liftProtection);
