#include "core/older_copy.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "host/code_hooks.h"
#include "host/module_paths.h"

namespace {

// The InternalName of the plug-in's version resource, the same in every release.
constexpr const wchar_t* pluginInternalName = L"Wardrobe";

// Whether the module file at path has a version resource whose InternalName, in any of its
// languages, is the plug-in's.
bool NamesThePlugin(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<unsigned char> info(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return false;

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
  const std::wstring host = ExecutablePath();
  const std::wstring self = OwnModulePath();
  for (uintptr_t target : targets) {
    if (target == 0) continue;
    const std::wstring module = ModulePathAt(target);
    if (module.empty() || module == host || module == self) continue;
    if (NamesThePlugin(module)) return true;
  }
  return false;
}
