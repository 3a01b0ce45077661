#include "outfits/file_replace.h"

#include <windows.h>

#include <string>

namespace {

// The C runtime opens the files by their names in the ANSI code page; the wide
// functions must see the same names.
std::wstring Widen(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) {
    return std::wstring();
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

// The rename is journalled, the data behind it is not necessarily: without this a
// power cut right after the rename could leave the new name on an empty file.
bool FlushToDisk(const std::wstring& path) {
  // Others may be reading the new file already (a scanner looking at every new file):
  // that must not turn a good save into a failed one.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const BOOL flushed = FlushFileBuffers(file);
  CloseHandle(file);
  return flushed != FALSE;
}

}  // namespace

bool ReplaceFileAtomically(const char* source, const char* target) {
  const std::wstring wideSource = Widen(source);
  const std::wstring wideTarget = Widen(target);
  if (wideSource.empty() || wideTarget.empty() || !FlushToDisk(wideSource)) {
    return false;
  }
  return MoveFileExW(wideSource.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}
