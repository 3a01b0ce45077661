#include "host/module_paths.h"

#include <windows.h>

namespace {

std::wstring ModuleFilePath(HMODULE module) {
  try {
    // Paths may be longer than MAX_PATH; the buffer grows until the path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
      if (length == 0) return std::wstring();
      if (length < path.size()) {
        path.resize(length);
        return path;
      }
      if (path.size() >= 32768) return std::wstring();
      path.resize(path.size() * 2);
    }
  } catch (...) {
    return std::wstring();
  }
}

}  // namespace

std::wstring ModulePathAt(uintptr_t address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(address), &module)) {
    return std::wstring();
  }
  return ModuleFilePath(module);
}

std::wstring ExecutablePath() { return ModuleFilePath(nullptr); }

std::wstring FullPathOf(const char* name) {
  try {
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH) == 0) return std::wstring();
    wchar_t full[MAX_PATH * 2];
    const DWORD length = GetFullPathNameW(wide, MAX_PATH * 2, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 2) return wide;
    return full;
  } catch (...) {
    return std::wstring();
  }
}

std::wstring OwnModulePath() { return ModulePathAt(reinterpret_cast<uintptr_t>(&OwnModulePath)); }

std::wstring WithExtension(const std::wstring& path, const wchar_t* extension) {
  try {
    const std::size_t name = path.find_last_of(L"\\/");
    const std::size_t dot = path.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (name == std::wstring::npos || dot > name);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
  } catch (...) {
    return std::wstring();
  }
}

std::string Utf8(const std::wstring& text) {
  try {
    if (text.empty()) return std::string();
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
  } catch (...) {
    return std::string();
  }
}
