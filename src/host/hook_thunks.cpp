// The eight thunks the patched host call sites call. Compiler-specific: GNU assembler
// syntax for i386 with the leading-underscore C symbols of 32-bit Windows.
//
// Before kind, entered by the host's call (return address site + 5 on the stack):
// save every general register, dispatch, restore them, and jump (not call) to the
// previous callee, which then runs with the host's registers and stack exactly as the
// host's call left them and returns straight to site + 5.
//
// After kind: keep ECX (the object the host passes), call the previous callee (which
// takes no stack arguments), then dispatch with every register saved so that the
// callee's EAX reaches the host unchanged, and return to site + 5.
//
// Registers the thunks assume:
// - From the host's call: only ESP (the return address on top of a usable stack) and
//   a clear direction flag, which every compiled caller leaves at a call and the
//   compiled dispatchers rely on. Nothing else is read: pushal/popal put every general
//   register back, so a before-kind callee, and the host after an after-kind callee,
//   see them exactly as the host left them.
// - From an after-kind callee: ESP kept (it takes no stack arguments) and its result
//   in EAX; nothing else. ECX, the object the callbacks receive, is stored before the
//   call in the hook's own variable rather than assumed to survive.
// - From the dispatchers: nothing; they run between pushal and popal.
// The stored ECX is one variable per hook: a second thread passing the same after-kind
// site before the first has dispatched would hand the callbacks its own object. No
// callback is registered on those two hooks, so nothing reads it yet.
#include "host/hook_thunks.h"

#include "host/code_hooks.h"

#define WARDROBE_STR2(x) #x
#define WARDROBE_STR(x) WARDROBE_STR2(x)

// clang-format off
#define BEFORE_THUNK(n)                                                   \
  asm(".text\n"                                                           \
      ".globl _HookThunk" #n "\n"                                         \
      "_HookThunk" #n ":\n"                                               \
      "  pushal\n"                                                        \
      "  pushl $" #n "\n"                                                 \
      "  call _DispatchBeforeHook\n"                                      \
      "  addl $4, %esp\n"                                                 \
      "  popal\n"                                                         \
      "  jmp *_hookPreviousCallee+" WARDROBE_STR(n * 4) "\n");

#define AFTER_THUNK(n)                                                    \
  asm(".text\n"                                                           \
      ".globl _HookThunk" #n "\n"                                         \
      "_HookThunk" #n ":\n"                                               \
      "  movl %ecx, _hookSavedEcx+" WARDROBE_STR(n * 4) "\n"              \
      "  call *_hookPreviousCallee+" WARDROBE_STR(n * 4) "\n"             \
      "  pushal\n"                                                        \
      "  pushl _hookSavedEcx+" WARDROBE_STR(n * 4) "\n"                   \
      "  pushl $" #n "\n"                                                 \
      "  call _DispatchAfterHook\n"                                       \
      "  addl $8, %esp\n"                                                 \
      "  popal\n"                                                         \
      "  ret\n");

// clang-format on

BEFORE_THUNK(0)
BEFORE_THUNK(1)
BEFORE_THUNK(2)
BEFORE_THUNK(3)
AFTER_THUNK(4)
AFTER_THUNK(5)
BEFORE_THUNK(6)
BEFORE_THUNK(7)

extern "C" void HookThunk0();
extern "C" void HookThunk1();
extern "C" void HookThunk2();
extern "C" void HookThunk3();
extern "C" void HookThunk4();
extern "C" void HookThunk5();
extern "C" void HookThunk6();
extern "C" void HookThunk7();

uintptr_t HookThunk(int index) {
  static void (*const thunks[CodeHookCount])() = {HookThunk0, HookThunk1, HookThunk2, HookThunk3,
                                                  HookThunk4, HookThunk5, HookThunk6, HookThunk7};
  return reinterpret_cast<uintptr_t>(thunks[index]);
}
