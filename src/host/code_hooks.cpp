#include "host/code_hooks.h"

#include <cstdio>

#include "host/game_version.h"
#include "host/hook_thunks.h"
#include "host/host_locations.h"
#include "host/host_memory.h"
#include "host/module_paths.h"
#include "host/plugin_log.h"
#include "host/unwind_guard.h"

namespace {
// The six hooks nobody registers into: installed all the same, pure pass-throughs.
FrameCallbackList unusedBeforeLists[4];
AfterCallbackList unusedAfterLists[2];

constexpr int frameHook = 0;
constexpr int cameraHook = 6;
}  // namespace

// The frame and camera hooks get their lists at installation.
CodeHook codeHooks[CodeHookCount] = {
    {HostOffsets::hookSites[0], HookKind::BeforeWithScriptThread, nullptr, nullptr},
    {HostOffsets::hookSites[1], HookKind::Before, &unusedBeforeLists[0], nullptr},
    {HostOffsets::hookSites[2], HookKind::Before, &unusedBeforeLists[1], nullptr},
    {HostOffsets::hookSites[3], HookKind::Before, &unusedBeforeLists[2], nullptr},
    {HostOffsets::hookSites[4], HookKind::After, nullptr, &unusedAfterLists[0]},
    {HostOffsets::hookSites[5], HookKind::After, nullptr, &unusedAfterLists[1]},
    {HostOffsets::hookSites[6], HookKind::Before, nullptr, nullptr},
    {HostOffsets::hookSites[7], HookKind::Before, &unusedBeforeLists[3], nullptr},
};

uint32_t hookPreviousCallee[CodeHookCount];
uint32_t hookSavedEcx[CodeHookCount];
uint8_t PluginScriptThread[256];

uintptr_t InstallHook(uintptr_t site, uintptr_t thunk, uint32_t* previousCallee) {
  if (site == 0) return 0;
  uintptr_t previous = ReadRelativeTarget(site + 1, 4);
  if (previousCallee != nullptr) *previousCallee = static_cast<uint32_t>(previous);
  // The opcode first: until the displacement is written the site still calls the
  // previous callee.
  WriteHostCode<uint8_t>(site, 0xE8);
  WriteRelativeTarget(site + 1, thunk);
  return previous;
}

namespace {
// Where the call at site leads; 0 when site holds no readable relative call.
uintptr_t SiteCallTarget(uintptr_t site) {
  constexpr uint8_t callOpcode = 0xE8;
  if (site == 0 || !IsReadableMemory(site, 5) || ReadHostMemory<uint8_t>(site) != callOpcode) return 0;
  return ReadRelativeTarget(site + 1, 4);
}
}  // namespace

bool SiteCanBeChained(uintptr_t site) {
  const uintptr_t target = SiteCallTarget(site);
  return target != 0 && IsExecutableMemory(target);
}

void HookSiteTargets(uintptr_t (&targets)[CodeHookCount]) {
  for (int i = 0; i < CodeHookCount; ++i) targets[i] = SiteCallTarget(ResolveHostAddress(codeHooks[i].site));
}

namespace {
// For the log: what a refused site holds, and where its call or jump leads.
void LogRefusedSite(int index, uintptr_t site) {
  const unsigned offset = static_cast<unsigned>(site - hostBase);
  if (site == 0 || !IsReadableMemory(site, 5)) {
    LogLine("Call site %d of 8 (game offset 0x%X) refused: its bytes cannot be read", index + 1, offset);
    return;
  }
  uint8_t bytes[5];
  ReadHostBytes(site, bytes, sizeof bytes);
  char found[16];
  std::snprintf(found, sizeof found, "%02X %02X %02X %02X %02X", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4]);
  constexpr uint8_t callOpcode = 0xE8;
  constexpr uint8_t jumpOpcode = 0xE9;
  if (bytes[0] != callOpcode && bytes[0] != jumpOpcode) {
    LogLine("Call site %d of 8 (game offset 0x%X) refused: found %s, not a call", index + 1, offset, found);
    return;
  }
  const uintptr_t target = ReadRelativeTarget(site + 1, 4);
  const std::wstring owner = ModulePathAt(target);
  LogLine("Call site %d of 8 (game offset 0x%X) refused: found %s, a %s to 0x%08X, %s%s%s", index + 1, offset, found,
          bytes[0] == callOpcode ? "call" : "jump", static_cast<unsigned>(target),
          IsExecutableMemory(target) ? "code" : "not code", owner.empty() ? " in no module" : " in ",
          Utf8(owner).c_str());
}
}  // namespace

bool InstallHooks(const FrameCallbackList& frameCallbacks, const FrameCallbackList& cameraCallbacks) {
  // All eight are looked at before any is written: a host that fails at one site is
  // left exactly as it was, rather than hooked at some sites and not at others. Each
  // one that fails goes to the log.
  uintptr_t sites[CodeHookCount];
  bool chainable = true;
  for (int i = 0; i < CodeHookCount; ++i) {
    sites[i] = ResolveHostAddress(codeHooks[i].site);
    if (!SiteCanBeChained(sites[i])) {
      LogRefusedSite(i, sites[i]);
      chainable = false;
    }
  }
  if (!chainable) return false;
  codeHooks[frameHook].callbacks = &frameCallbacks;
  codeHooks[cameraHook].callbacks = &cameraCallbacks;
  for (int i = 0; i < CodeHookCount; ++i) InstallHook(sites[i], HookThunk(i), &hookPreviousCallee[i]);
  return true;
}

namespace {
// No C++ exception may travel from a callback into the host's code: the walk ends
// there and the host's frame goes on.
void WalkCallbacks(const FrameCallbackList& callbacks) {
  try {
    for (FrameCallback callback : callbacks) callback();
  } catch (...) {
  }
}
}  // namespace

extern "C" void __cdecl DispatchBeforeHook(uint32_t index) {
  const CodeHook& hook = codeHooks[index];
  if (hook.kind != HookKind::BeforeWithScriptThread) {
    WalkCallbacks(*hook.callbacks);
    return;
  }
  // Natives need a current script thread: ours, for the duration of the walk. The
  // host's own is put back however the walk ends, also when an exception raised in it
  // is taken by the host's handler and the stack unwinds past this frame.
  uint32_t saved = SwapCurrentScriptThread(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(PluginScriptThread)));
  {
    const UnwindGuard restore([](void* thread) { SwapCurrentScriptThread(*static_cast<uint32_t*>(thread)); }, &saved);
    WalkCallbacks(*hook.callbacks);
  }
  SwapCurrentScriptThread(saved);
}

extern "C" void __cdecl DispatchAfterHook(uint32_t index, uint32_t object) {
  try {
    for (AfterCallback callback : *codeHooks[index].afterCallbacks) callback(object);
  } catch (...) {
  }
}
