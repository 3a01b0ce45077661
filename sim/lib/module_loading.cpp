#include "sim/module_loading.h"

namespace sim {

namespace {

// The image's ImageBase and SizeOfImage, from its headers on disk.
bool ReadPreferredRange(const std::string& path, uintptr_t* base, uint32_t* size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned char headers[1024] = {};
  DWORD read = 0;
  const bool ok = ReadFile(file, headers, sizeof headers, &read, nullptr) && read >= sizeof(IMAGE_DOS_HEADER);
  CloseHandle(file);
  if (!ok) return false;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(headers);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
      static_cast<DWORD>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > read)
    return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(headers + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) return false;
  *base = nt->OptionalHeader.ImageBase;
  *size = nt->OptionalHeader.SizeOfImage;
  return true;
}

}  // namespace

LoadedModule LoadModuleRelocated(const std::string& path) {
  LoadedModule loaded;
  uint32_t size = 0;
  void* reserved = nullptr;
  if (ReadPreferredRange(path, &loaded.preferredBase, &size)) {
    // Taken already (by the host or another module) serves as well.
    reserved = VirtualAlloc(reinterpret_cast<void*>(loaded.preferredBase), size, MEM_RESERVE, PAGE_NOACCESS);
  }
  loaded.module = LoadLibraryA(path.c_str());
  const DWORD error = GetLastError();
  if (reserved != nullptr) VirtualFree(reserved, 0, MEM_RELEASE);
  SetLastError(error);
  return loaded;
}

}  // namespace sim
