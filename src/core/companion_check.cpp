#include "core/companion_check.h"

#include <windows.h>

#include "host/host_locations.h"
#include "host/module_paths.h"
#include "host/plugin_log.h"

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
    const bool accepted = version >= MinCompanionVersion;
    LogLine("Companion check: %s, version %u: %s", Utf8(ModulePathAt(reinterpret_cast<uintptr_t>(companion))).c_str(),
            static_cast<unsigned>(version),
            accepted ? "accepted" : "older than 220625: the player is told and the game ends");
    if (!accepted) ExitIncompatibleCompanion();
  } else {
    LogLine("Companion check: KorvaneIV.asi %s",
            companion != nullptr ? "is loaded without GetKorvaneVersion" : "is not loaded");
    ProbeCompanionHook();
  }
  companionCheckPending = false;
}

void ProbeCompanionHook() {
  // A call redirected into high memory means a companion hooked the host without
  // being loaded under its own name.
  const uintptr_t target = CompanionProbeTarget();
  const bool redirected = target > 0x70000000u;
  if (target == 0) {
    LogLine("Companion check: the game's code 20 bytes before the frame call holds no call: accepted");
  } else {
    LogLine("Companion check: the game's call 20 bytes before the frame call leads to 0x%08X: %s",
            static_cast<unsigned>(target),
            redirected ? "above 0x70000000, a companion hooked it without being loaded under its name: the player "
                         "is told and the game ends"
                       : "accepted");
  }
  if (redirected) ExitIncompatibleCompanion();
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
