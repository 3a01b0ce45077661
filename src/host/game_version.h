// Which build of the host is running, and where its locations are.
#pragma once
#include <cstdint>

#include "host/host_offsets.h"

// 1 = host file version 1.0.7.0, 2 = 1.0.8.0, 0 = any other build (the plug-in idles).
extern int32_t GameVersion;
// Load address of the host executable; every host offset is relative to it.
extern uintptr_t hostBase;
extern bool hostReady;

// Joins the four 16-bit fields of a file version as decimal text ("1" "0" "7" "0" ->
// 1070) and parses it; 0 when the text does not fit a signed 32-bit integer.
int32_t JoinFileVersion(uint32_t versionMs, uint32_t versionLs);
// The joined file version of the host executable, 0 when it cannot be read.
int32_t ReadHostFileVersion();
// The file version ReadHostFileVersion found, dotted ("1.0.7.0"), or why there is none,
// for the log.
const char* HostFileVersionText();
void DetectGameVersion();
void InitHostBase();
// hostBase + the running build's offset; 0 on an unsupported build. The first call
// runs detection.
uintptr_t ResolveHostAddress(HostOffset offset);

// A host location declared by its per-build offsets, resolved once when constructed.
struct HostAddress {
  uintptr_t address;
  explicit HostAddress(HostOffset offset) : address(ResolveHostAddress(offset)) {}
  explicit operator bool() const { return address != 0; }
  template <typename T>
  T* As() const {
    return reinterpret_cast<T*>(address);
  }
};
