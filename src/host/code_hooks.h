// The eight patched host call sites: each now calls a thunk of ours, which runs the
// hook's callbacks and then lets the host's own routine run as before.
#pragma once
#include <cstdint>
#include <list>

#include "host/host_offsets.h"

// What a before-kind hook runs: plain callbacks without arguments, walked front to
// back; their results are ignored. Appended to at start-up only, never removed from.
using FrameCallback = int32_t (*)();
using FrameCallbackList = std::list<FrameCallback>;
// Callbacks of after-kind hooks receive the object pointer the host passed in ECX.
using AfterCallback = void (*)(uint32_t object);
using AfterCallbackList = std::list<AfterCallback>;

enum class HookKind : uint8_t {
  Before,                  // callbacks, then a jump to the previous callee
  BeforeWithScriptThread,  // the same, inside the plug-in's script context
  After,                   // the previous callee, then the callbacks
};

struct CodeHook {
  HostOffset site;
  HookKind kind;
  const FrameCallbackList* callbacks;  // before kinds
  AfterCallbackList* afterCallbacks;   // after kind
};

constexpr int CodeHookCount = 8;
extern CodeHook codeHooks[CodeHookCount];

// Filled by the thunks' installation; read by the thunks (hook_thunks.cpp).
extern "C" uint32_t hookPreviousCallee[CodeHookCount];
extern "C" uint32_t hookSavedEcx[CodeHookCount];

// A script-thread record of our own, current while the frame callbacks run.
extern uint8_t PluginScriptThread[256];

// Whether the call at site may be chained: its five bytes are readable, the first is
// the call opcode 0xE8, and the target its displacement gives lies in committed
// executable memory (the host's own routine, or the thunk of a module that hooked the
// call before us).
bool SiteCanBeChained(uintptr_t site);
// Where the call at each of the eight sites leads now, in installation order; 0 for a
// site that holds no readable call (or on an unsupported build).
void HookSiteTargets(uintptr_t (&targets)[CodeHookCount]);
// Looks at all eight sites first: when each can be chained, patches them and returns
// true; the frame hook walks frameCallbacks and the camera hook cameraCallbacks from
// then on, the other six hooks lists of their own. When any site cannot be chained
// (another program changed the host's code there, or this is not the code we know),
// writes nothing at all and returns false.
bool InstallHooks(const FrameCallbackList& frameCallbacks, const FrameCallbackList& cameraCallbacks);
// Points the call at site to thunk; returns the site's previous callee (0 and no change
// for a null site). previousCallee, when given, receives it before the site can reach
// the thunk, so that a host thread passing the site meanwhile finds it already set.
uintptr_t InstallHook(uintptr_t site, uintptr_t thunk, uint32_t* previousCallee = nullptr);

// The dispatchers the thunks call.
extern "C" void __cdecl DispatchBeforeHook(uint32_t index);
extern "C" void __cdecl DispatchAfterHook(uint32_t index, uint32_t object);
