// Loading a plug-in (or any module) the way Windows does on a player's machine: away
// from its preferred base. Windows' address-space layout randomisation moves a
// DYNAMIC_BASE image on every boot, where Wine maps it at its preferred base; so the
// preferred range is taken first and the loader must apply the image's relocations.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace sim {

struct LoadedModule {
  HMODULE module = nullptr;     // null when LoadLibrary failed (GetLastError says why)
  uintptr_t preferredBase = 0;  // ImageBase of the file's header, 0 when unreadable
};

// LoadLibrary of the module at path (a Windows path) while its preferred range is
// reserved, then the range released again. The scenario runner loads every module so;
// in-process tests that load a module use it too.
LoadedModule LoadModuleRelocated(const std::string& path);

}  // namespace sim
