#include "core/older_copy.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "host/code_hooks.h"

namespace {

// The InternalName of the plug-in's version resource, the same in every release.
constexpr const wchar_t* pluginInternalName = L"Wardrobe";

// The module holding address, without a reference taken; null when none does.
HMODULE ModuleAt(uintptr_t address) {
  HMODULE module = nullptr;
  const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(address), &module)) return nullptr;
  return module;
}

// Whether the module's file has a version resource whose InternalName, in any of its
// languages, is the plug-in's.
bool NamesThePlugin(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return false;
  std::vector<unsigned char> info(size);
  if (!GetFileVersionInfoW(path, 0, size, info.data())) return false;

  struct Translation {
    WORD language, codePage;
  };
  Translation* translations = nullptr;
  UINT translationBytes = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &translationBytes)) {
    translationBytes = 0;
  }
  for (UINT i = 0; i < translationBytes / sizeof(Translation); ++i) {
    wchar_t key[64];
    std::swprintf(key, sizeof key / sizeof key[0], L"\\StringFileInfo\\%04x%04x\\InternalName",
                  translations[i].language, translations[i].codePage);
    wchar_t* name = nullptr;
    UINT nameLength = 0;
    if (VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&name), &nameLength) && name != nullptr &&
        _wcsicmp(name, pluginInternalName) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool OlderCopyHooked() {
  uintptr_t targets[CodeHookCount];
  HookSiteTargets(targets);
  HMODULE host = GetModuleHandleW(nullptr);
  HMODULE self = ModuleAt(reinterpret_cast<uintptr_t>(&OlderCopyHooked));
  for (uintptr_t target : targets) {
    if (target == 0) continue;
    HMODULE module = ModuleAt(target);
    if (module == nullptr || module == host || module == self) continue;
    if (NamesThePlugin(module)) return true;
  }
  return false;
}
