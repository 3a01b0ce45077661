#include "outfits/file_replace.h"

#include <windows.h>

#include <cstdlib>
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

// Whether a plain rewrite of the file at target would be allowed: a player who marks
// the outfit file read-only, or a folder or an open editor in its place, must see the
// save fail on every platform. Windows refuses to rename over a read-only file, Wine
// (which keeps the attribute in the write bits) does not, and as root the write bits
// stop nobody; so the attributes and share modes are asked here. Another program could
// still change the target between this check and the rename; that window is the same
// as a plain rewrite's.
bool MayReplace(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return GetLastError() == ERROR_FILE_NOT_FOUND;  // no file yet: the save creates it
  }
  if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);  // for good, not for a moment
    return false;
  }
  // Opening for writing without truncating changes nothing, and fails where a program
  // holds the file without sharing its writing.
  HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

}  // namespace

bool DiscardOwnFile(const char* path) {
  const std::wstring widePath = Widen(path);
  const DWORD attributes = GetFileAttributesW(widePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(widePath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return DeleteFileW(widePath.c_str()) != FALSE;
}

bool ReplaceFileAtomically(const char* source, const char* target) {
  const std::wstring wideSource = Widen(source);
  const std::wstring wideTarget = Widen(target);
  if (wideSource.empty() || wideTarget.empty() || !MayReplace(wideTarget) || !FlushToDisk(wideSource)) {
    return false;
  }
  if (MoveFileExW(wideSource.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  // The target is neither read-only nor a folder, and could be opened for writing just
  // now: Windows denies renaming over it while a program (a scanner, an indexer) holds
  // it open without sharing its deletion. That passes like a sharing violation.
  if (GetLastError() == ERROR_ACCESS_DENIED) {
    SetLastError(ERROR_SHARING_VIOLATION);
  }
  return false;
}

void ForgetFileFailure() {
  SetLastError(ERROR_SUCCESS);
  _doserrno = 0;
}

bool FileFailureIsBrief() {
  // The C runtime's own file functions leave the system's error in _doserrno.
  for (const unsigned long error : {static_cast<unsigned long>(GetLastError()), _doserrno}) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      return true;
    }
  }
  return false;
}

unsigned long LastFileErrorCode() {
  const unsigned long system = GetLastError();
  return system != ERROR_SUCCESS ? system : _doserrno;
}

void WaitMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }
