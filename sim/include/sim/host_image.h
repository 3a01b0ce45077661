// The simulated host's image: its build, its load address and the layout of the host
// memory region that Boot() plants (code, routines, data) at the host's own offsets.
//
// Every simulated host executable is built with add_host_executable (sim/CMakeLists.txt),
// which reserves the host memory region at image base + 0x1000 and gives the executable
// the file-version resource of one host build. Boot() reads that resource and lays the
// region out like that build: 1.0.8.0 gets the second layout, every other version (1.0.7.0
// and the unsupported 1.0.7.1) the first.
#pragma once
#include <cstdint>

namespace sim {

// Plants the host image once: site stubs, host routines, native handlers, data objects,
// and makes the code area [0x1000, 0xA00000) execute-read. Idempotent; every other call
// of the simulator boots on demand, but a test should call it first.
void Boot();
bool Booted();

// The four fields of the executable's file version, joined as decimal text and parsed
// (1.0.7.0 -> 1070, 1.0.8.0 -> 1080, 1.0.7.1 -> 1071); 0 without a version resource.
int32_t FileVersion();
// Which layout the image has: 1 (laid out like 1.0.7.0) or 2 (like 1.0.8.0).
int LayoutBuild();
// True when the file version is one the plug-in supports (1070 or 1080).
bool SupportedBuild();

// Load address of the host executable (the process's main module).
uintptr_t HostBase();
// HostBase() + offset, as a pointer.
template <typename T = uint8_t>
T* HostAt(uint32_t offset) {
  return reinterpret_cast<T*>(HostBase() + offset);
}
// The offset of an address inside the host image.
uint32_t HostOffsetOf(uintptr_t address);

// The host memory region: code below CodeAreaEnd, data from there to HostMemoryEnd.
constexpr uint32_t HostMemoryStart = 0x1000;
constexpr uint32_t CodeAreaEnd = 0xA00000;
constexpr uint32_t HostMemoryEnd = 0x14D1000;

}  // namespace sim
