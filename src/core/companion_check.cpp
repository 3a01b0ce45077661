#include "core/companion_check.h"

#include <windows.h>

#include "host/host_locations.h"
#include "host/host_memory.h"

bool companionCheckPending = true;

void CheckCompanionModule() {
  if (!companionCheckPending) return;
  HMODULE companion = GetModuleHandleA("KorvaneIV.asi");
  FARPROC exported = companion != nullptr ? GetProcAddress(companion, "GetKorvaneVersion") : nullptr;
  if (exported != nullptr) {
    using GetVersion = void(__cdecl*)(uint32_t* version, uint32_t* unused);
    // A companion that returns without storing a version counts as version 0: too old.
    uint32_t version = 0;
    uint32_t unused = 0;
    reinterpret_cast<GetVersion>(reinterpret_cast<void*>(exported))(&version, &unused);
    if (version < MinCompanionVersion) ExitIncompatibleCompanion();
  } else {
    ProbeCompanionHook();
  }
  companionCheckPending = false;
}

void ProbeCompanionHook() {
  uintptr_t site = CompanionProbeSite();
  if (site == 0) return;
  if (ReadHostMemory<uint8_t>(site, true) != 0xE8) return;
  // A call redirected into high memory means a companion hooked the host without
  // being loaded under its own name.
  if (ReadRelativeTarget(site + 1, 4, true) > 0x70000000u) ExitIncompatibleCompanion();
}

void ExitIncompatibleCompanion() {
  MessageBoxA(nullptr, "Incompatible/outdated version of Korvane detected! The game will now exit.", "", 0x10);
  TerminateProcess(GetCurrentProcess(), 0);
  for (;;) Sleep(INFINITE);  // TerminateProcess on our own process does not return
}
