#include "host/code_hooks.h"

#include "host/game_version.h"
#include "host/host_locations.h"
#include "host/host_memory.h"

namespace {
// The six hooks nobody registers into: installed all the same, pure pass-throughs.
FrameCallbackList unusedBeforeLists[4];
AfterCallbackList unusedAfterLists[2];
}  // namespace

CodeHook codeHooks[CodeHookCount] = {
    {0x21601, 0x95141, HookKind::BeforeWithScriptThread, &frameCallbacks, nullptr},
    {0x4ADB38, 0x770748, HookKind::Before, &unusedBeforeLists[0], nullptr},
    {0x4ADA9D, 0x7706AD, HookKind::Before, &unusedBeforeLists[1], nullptr},
    {0x46AFA8, 0x60E1C8, HookKind::Before, &unusedBeforeLists[2], nullptr},
    {0x7FE9C6, 0x652C26, HookKind::After, nullptr, &unusedAfterLists[0]},
    {0x3C4002, 0x46A802, HookKind::After, nullptr, &unusedAfterLists[1]},
    {0x52C4C2, 0x694232, HookKind::Before, &cameraCallbacks, nullptr},
    {0x3B2E27, 0x456C27, HookKind::Before, &unusedBeforeLists[3], nullptr},
};

uint32_t hookPreviousCallee[CodeHookCount];
uint32_t hookSavedEcx[CodeHookCount];
uint8_t PluginScriptThread[256];

uintptr_t InstallHook(uintptr_t site, uintptr_t thunk) {
  if (site == 0) return 0;
  uintptr_t previous = ReadRelativeTarget(site + 1, 4, true);
  // The opcode first: until the displacement is written the site still calls the
  // previous callee.
  WriteHostMemory<uint8_t>(site, 0xE8, true);
  WriteRelativeTarget(site + 1, thunk, true);
  return previous;
}

void InstallHooks() {
  for (int i = 0; i < CodeHookCount; ++i) {
    uintptr_t site = ResolveHostAddress(codeHooks[i].offsetBuild1, codeHooks[i].offsetBuild2);
    hookPreviousCallee[i] = static_cast<uint32_t>(InstallHook(site, HookThunk(i)));
  }
}

// No C++ exception may travel from a callback into the host's code: the walk ends
// there and the host's frame goes on.
extern "C" void __cdecl DispatchBeforeHook(uint32_t index) {
  const CodeHook& hook = codeHooks[index];
  if (hook.kind != HookKind::BeforeWithScriptThread) {
    try {
      WalkCallbacks(*hook.callbacks);
    } catch (...) {
    }
    return;
  }
  // Natives need a current script thread: ours, for the duration of the walk. The
  // location's protection is lifted once for both writes.
  const uintptr_t current = CurrentScriptThreadLocation();
  const ProtectionScope writable(current, sizeof(uint32_t));
  const uint32_t saved = ReadHostMemory<uint32_t>(current, false);
  WriteHostMemory<uint32_t>(current, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(PluginScriptThread)), false);
  try {
    WalkCallbacks(*hook.callbacks);
  } catch (...) {
  }
  WriteHostMemory<uint32_t>(current, saved, false);
}

extern "C" void __cdecl DispatchAfterHook(uint32_t index, uint32_t object) {
  try {
    for (AfterCallback callback : *codeHooks[index].afterCallbacks) callback(object);
  } catch (...) {
  }
}
