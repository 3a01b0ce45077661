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

uintptr_t InstallHook(uintptr_t site, uintptr_t thunk, uint32_t* previousCallee) {
  if (site == 0) return 0;
  uintptr_t previous = ReadRelativeTarget(site + 1, 4, true);
  if (previousCallee != nullptr) *previousCallee = static_cast<uint32_t>(previous);
  // The opcode first: until the displacement is written the site still calls the
  // previous callee.
  WriteHostMemory<uint8_t>(site, 0xE8, true);
  WriteRelativeTarget(site + 1, thunk, true);
  return previous;
}

void InstallHooks() {
  for (int i = 0; i < CodeHookCount; ++i) {
    uintptr_t site = ResolveHostAddress(codeHooks[i].offsetBuild1, codeHooks[i].offsetBuild2);
    InstallHook(site, HookThunk(i), &hookPreviousCallee[i]);
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
  // Natives need a current script thread: ours, for the duration of the walk. Each
  // write lifts the protection only around itself: the walk may block (a message box)
  // or take a while (an outfit save), and the host's page is not left open meanwhile.
  const uintptr_t current = CurrentScriptThreadLocation();
  const uint32_t saved = ReadHostMemory<uint32_t>(current, false);
  WriteHostMemory<uint32_t>(current, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(PluginScriptThread)), true);
  try {
    WalkCallbacks(*hook.callbacks);
  } catch (...) {
  }
  WriteHostMemory<uint32_t>(current, saved, true);
}

extern "C" void __cdecl DispatchAfterHook(uint32_t index, uint32_t object) {
  try {
    for (AfterCallback callback : *codeHooks[index].afterCallbacks) callback(object);
  } catch (...) {
  }
}
