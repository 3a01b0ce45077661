// The host memory region and Boot().
#include "sim/host_image.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "planting.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"

// The host memory region: an uninitialised section that add_host_executable places at
// image base + 0x1000, so that host offsets are offsets into the executable's image as
// they are in the host. It takes no space in the file.
asm(".section .hostmem,\"bw\"\n"
    ".globl _hostMemory\n"
    "_hostMemory:\n"
    ".space 0x14D0000\n"
    ".text\n");
extern "C" unsigned char hostMemory[];

namespace sim {

namespace {

bool booted = false;
int32_t fileVersion = 0;
uintptr_t hostBase = 0;

int32_t ReadOwnFileVersion() {
  wchar_t path[MAX_PATH];
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return 0;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return 0;
  std::vector<unsigned char> buffer(size);
  if (!GetFileVersionInfoW(path, 0, size, buffer.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &length) || length == 0 ||
      info->dwSignature != 0xFEEF04BD) {
    return 0;
  }
  std::string joined = std::to_string(HIWORD(info->dwFileVersionMS)) + std::to_string(LOWORD(info->dwFileVersionMS)) +
                       std::to_string(HIWORD(info->dwFileVersionLS)) + std::to_string(LOWORD(info->dwFileVersionLS));
  return static_cast<int32_t>(std::strtol(joined.c_str(), nullptr, 10));
}

void Fail(const char* what) {
  std::fprintf(stderr, "simulated host: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace

void Boot() {
  if (booted) return;
  hostBase = reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr));
  if (reinterpret_cast<uintptr_t>(hostMemory) != hostBase + HostMemoryStart) {
    Fail("the host memory region is not at image base + 0x1000 (build the executable with add_host_executable)");
  }
  fileVersion = ReadOwnFileVersion();
  booted = true;

  // Unused host code traps, as padding between a real program's routines would.
  std::memset(HostAt(HostMemoryStart), 0xCC, CodeAreaEnd - HostMemoryStart);
  PlantHostData();
  PlantHostRoutines();
  PlantNativeHandlers();
  PlantSiteStubs();

  DWORD old = 0;
  if (!VirtualProtect(HostAt(HostMemoryStart), CodeAreaEnd - HostMemoryStart, PAGE_EXECUTE_READ, &old)) {
    Fail("cannot make the host code area execute-read");
  }
  if (!VirtualProtect(HostAt(CodeAreaEnd), HostMemoryEnd - CodeAreaEnd, PAGE_READWRITE, &old)) {
    Fail("cannot make the host data area read-write");
  }
  FlushInstructionCache(GetCurrentProcess(), HostAt(HostMemoryStart), CodeAreaEnd - HostMemoryStart);
  TakeBootCodeSnapshot();
  ResetModel();
}

bool Booted() { return booted; }

int32_t FileVersion() {
  Boot();
  return fileVersion;
}

int LayoutBuild() {
  Boot();
  return fileVersion == 1080 ? 2 : 1;
}

bool SupportedBuild() { return FileVersion() == 1070 || FileVersion() == 1080; }

uintptr_t HostBase() {
  Boot();
  return hostBase;
}

uint32_t HostOffsetOf(uintptr_t address) { return static_cast<uint32_t>(address - HostBase()); }

}  // namespace sim
