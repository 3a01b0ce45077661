#include "core/companion_check.h"

#include <windows.h>

#include "host/host_locations.h"

bool companionCheckPending = true;

void CheckCompanionModule() {
  if (!companionCheckPending) return;
  HMODULE companion = GetModuleHandleA("KorvaneIV.asi");
  FARPROC exported = companion != nullptr ? GetProcAddress(companion, "GetKorvaneVersion") : nullptr;
  if (exported != nullptr) {
    // (version, unused), cdecl: the compiler's call assumes what cdecl keeps (EBX, ESI,
    // EDI, EBP, ESP), which is what the companion's exported function promises.
    using GetVersion = void(__cdecl*)(uint32_t*, uint32_t*);
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
  // A call redirected into high memory means a companion hooked the host without
  // being loaded under its own name.
  if (CompanionProbeTarget() > 0x70000000u) ExitIncompatibleCompanion();
}

void ExitIncompatibleCompanion() {
  // An error box from the game's thread may open behind a full-screen game window,
  // where the player would see only a frozen game: it comes to the front and stays on
  // top.
  MessageBoxA(nullptr, "Incompatible/outdated version of Korvane detected! The game will now exit.", "",
              MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  TerminateProcess(GetCurrentProcess(), 0);
  for (;;) Sleep(INFINITE);  // TerminateProcess on our own process does not return
}
