// Reads and writes of host memory with the page protection lifted (the host's code is
// execute-read). A write either lifts the protection around itself or takes the span
// its caller lifted, so that no write into host code can be written unprotected.
#pragma once
#include <cstddef>
#include <cstdint>

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
  // Puts the old protection back now rather than at the end of the scope (when the
  // stack unwinds past it, which runs no destructor); the scope is inactive afterwards.
  void Restore();
  // Whether [start, start + length) lies inside the span; a write that relies on the
  // scope asks this of it.
  bool Covers(uintptr_t start, size_t length) const;

 private:
  uintptr_t address;
  size_t size;
  uint32_t savedProtection = 0;
  bool active = false;
};

// Reads [address, address + size): as it stands when the memory may be read already,
// otherwise with the protection lifted around exactly those bytes.
void ReadHostBytes(uintptr_t address, void* bytes, size_t size);
// Writes them the same way: straight into memory that may be written already (host
// data), with the protection lifted around the bytes otherwise (host code).
void WriteHostBytes(uintptr_t address, const void* bytes, size_t size);
// Writes inside a span that the caller lifted once for a run of writes. A write the
// span does not cover lifts the protection around itself all the same, so a write
// into host code never runs unprotected.
void WriteHostBytes(const ProtectionScope& lifted, uintptr_t address, const void* bytes, size_t size);

// Whether every byte of [address, address + size) lies in committed memory that may be
// read (VirtualQuery), asked before reading host bytes another program may have changed.
bool IsReadableMemory(uintptr_t address, size_t size);
// Whether every byte of [address, address + size) lies in committed memory that may be
// written as it stands, without a change of protection.
bool IsWritableMemory(uintptr_t address, size_t size);
// Whether the byte at address lies in committed memory with an execute protection: a
// place a call may lead to.
bool IsExecutableMemory(uintptr_t address);

// After a write into host code: the processor must not run stale copies of those bytes.
void FlushHostCode(uintptr_t address, size_t size);

template <typename T>
T ReadHostMemory(uintptr_t address) {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4, "widths 1, 2 and 4");
  T value;
  ReadHostBytes(address, &value, sizeof(T));
  return value;
}

template <typename T>
void WriteHostMemory(uintptr_t address, T value) {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4, "widths 1, 2 and 4");
  WriteHostBytes(address, &value, sizeof(T));
}

template <typename T>
void WriteHostMemory(const ProtectionScope& lifted, uintptr_t address, T value) {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4, "widths 1, 2 and 4");
  WriteHostBytes(lifted, address, &value, sizeof(T));
}

// Writes into host code: the write as above, then its bytes flushed from the
// instruction cache, as Windows asks of any program that changes code.
template <typename T>
void WriteHostCode(uintptr_t address, T value) {
  WriteHostMemory<T>(address, value);
  FlushHostCode(address, sizeof(T));
}

template <typename T>
void WriteHostCode(const ProtectionScope& lifted, uintptr_t address, T value) {
  WriteHostMemory<T>(lifted, address, value);
  FlushHostCode(address, sizeof(T));
}

// address + width + the signed displacement of that width stored at address (read
// with the protection lifted); 0 for a width other than 1, 2 or 4.
uintptr_t ReadRelativeTarget(uintptr_t address, int width);
// Stores the 4-byte displacement target - (address + 4) at address, protection lifted,
// and flushes it: displacements are written only into host code.
void WriteRelativeTarget(uintptr_t address, uintptr_t target);
