#include "core/process_claim.h"

#include <windows.h>

#include <cwchar>

bool ClaimProcessWardrobe() {
  // Local\ keeps the name inside the player's session; the process id keeps two game
  // processes (or a test host beside the game) apart.
  wchar_t name[64];
  std::swprintf(name, sizeof name / sizeof name[0], L"Local\\WardrobePlugin.%lu",
                static_cast<unsigned long>(GetCurrentProcessId()));
  HANDLE claim = CreateMutexW(nullptr, FALSE, name);
  if (claim == nullptr) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(claim);
    return false;
  }
  // The handle is never closed: the name stays taken until the process ends.
  return true;
}
