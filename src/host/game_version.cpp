#include "host/game_version.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int32_t GameVersion = 0;
uintptr_t hostBase = 0;
bool hostReady = false;

namespace {
char hostFileVersionText[48] = "not read";
}  // namespace

const char* HostFileVersionText() { return hostFileVersionText; }

int32_t JoinFileVersion(uint32_t versionMs, uint32_t versionLs) {
  const uint32_t fields[4] = {versionMs >> 16, versionMs & 0xFFFF, versionLs >> 16, versionLs & 0xFFFF};
  // Four fields of up to five digits each: at most 20 characters.
  char text[24];
  char* end = text;
  for (uint32_t field : fields) {
    end += std::snprintf(end, sizeof text - static_cast<size_t>(end - text), "%u", field);
  }
  // A joined text beyond the signed 32-bit range belongs to no supported build.
  int64_t value = 0;
  for (const char* c = text; c != end; ++c) {
    value = value * 10 + (*c - '0');
    if (value > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(value);
}

int32_t ReadHostFileVersion() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::snprintf(hostFileVersionText, sizeof hostFileVersionText, "unknown (the path is too long)");
  if (length == 0 || length >= MAX_PATH) return 0;

  std::snprintf(hostFileVersionText, sizeof hostFileVersionText, "unknown (no version resource)");
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return 0;
  void* buffer = std::malloc(size);
  if (buffer == nullptr) return 0;

  int32_t version = 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoLength = 0;
  if (GetFileVersionInfoW(path, handle, size, buffer) &&
      VerQueryValueW(buffer, L"\\", reinterpret_cast<void**>(&info), &infoLength) && infoLength != 0 &&
      info->dwSignature == 0xFEEF04BD) {
    version = JoinFileVersion(info->dwFileVersionMS, info->dwFileVersionLS);
    std::snprintf(
        hostFileVersionText, sizeof hostFileVersionText, "%u.%u.%u.%u",
        static_cast<unsigned>(info->dwFileVersionMS >> 16), static_cast<unsigned>(info->dwFileVersionMS & 0xFFFF),
        static_cast<unsigned>(info->dwFileVersionLS >> 16), static_cast<unsigned>(info->dwFileVersionLS & 0xFFFF));
  }
  std::free(buffer);
  return version;
}

void DetectGameVersion() {
  switch (ReadHostFileVersion()) {
    case 1070: GameVersion = 1; break;
    case 1080: GameVersion = 2; break;
    default: GameVersion = 0; break;
  }
}

void InitHostBase() {
  DetectGameVersion();
  hostBase = reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr));
  hostReady = true;
}

uintptr_t ResolveHostAddress(HostOffset offset) {
  if (!hostReady) InitHostBase();
  switch (GameVersion) {
    case 1: return hostBase + offset.build1;
    case 2: return hostBase + offset.build2;
    default: return 0;
  }
}
