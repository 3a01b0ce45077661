// The host's native lookup takes the hash in ESI and returns the handler in EAX, so it
// is called from inline assembly; a fault inside it is caught by a structured-exception
// frame of our own (GCC has no __try). Compiler-specific: GCC/Clang i386 inline asm.
#include "host/native_lookup.h"

#include <windows.h>

#include <excpt.h>

#include "host/game_version.h"
#include "host/plugin_log.h"

namespace {

// An exception registration record on the stack, followed by where to resume.
struct LookupGuardFrame {
  LookupGuardFrame* next;
  void* handler;
  uint32_t resumeEsp;
  uint32_t resumeEip;
};

// The first fault the guard caught, for the log (written once, after the lookup
// returned: the handler itself runs in the middle of the fault and does no more than
// it must).
uint32_t caughtFaultCode = 0;
bool caughtFaultLogged = false;
uint32_t caughtFaultCount = 0;

}  // namespace

// Windows calls this handler only while the image allows it (no NO_SEH flag, and a
// SafeSEH table, if there is one, that lists it). It has external linkage (and is not
// exported) so that the link map, Wardrobe.map, gives its address to the image check.
extern "C" EXCEPTION_DISPOSITION __cdecl LookupGuardHandler(EXCEPTION_RECORD* record, void* establisherFrame,
                                                            CONTEXT* context, void*) {
  // Resuming after the call is continuing execution, which Windows refuses for an
  // exception flagged non-continuable: it would raise STATUS_NONCONTINUABLE_EXCEPTION
  // into this handler again and again until the stack ran out. Such an exception, and
  // any unwind, is left to the handlers further out.
  if (record->ExceptionFlags & (EXCEPTION_NONCONTINUABLE | EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return ExceptionContinueSearch;
  if (caughtFaultCode == 0) caughtFaultCode = record->ExceptionCode;
  ++caughtFaultCount;
  auto* frame = static_cast<LookupGuardFrame*>(establisherFrame);
  // Resume after the call with the lookup's stack, no handler found, and the record in
  // ECX so that it can be unlinked (the faulting routine may have left a record of its
  // own in fs:[0]).
  context->Eip = frame->resumeEip;
  context->Esp = frame->resumeEsp;
  context->Eax = 0;
  context->Ecx = reinterpret_cast<DWORD>(frame);
  return ExceptionContinueExecution;
}

uint32_t NativeLookupFaultCount() { return caughtFaultCount; }

uintptr_t LookupNative(uint32_t hash) {
  uintptr_t routine = ResolveHostAddress(HostOffsets::findNativeHandler);
  if (routine == 0) return 0;

  LookupGuardFrame frame{};
  frame.handler = reinterpret_cast<void*>(&LookupGuardHandler);
  LookupGuardFrame* framePointer = &frame;
  uintptr_t handler;
  // The host's routine promises the hash in ESI, the handler in EAX and its stack, no
  // more: every other register may come back changed. So everything the code after
  // the call needs is in memory or found again: EBP and EBX (which the compiler may
  // hold on to) are saved on the stack, the guard record is found through fs:[0],
  // which the routine leaves as it found it (every routine of a Windows program
  // does), and ESI, EDI, ECX and EDX are declared lost.
  asm volatile(
      "push %%ebp\n\t"
      "push %%ebx\n\t"
      "movl %%fs:0, %%eax\n\t"
      "movl %%eax, 0(%%edi)\n\t"
      "movl %%esp, 8(%%edi)\n\t"
      "movl $1f, 12(%%edi)\n\t"
      "movl %%edi, %%fs:0\n\t"
      "call *%%ecx\n\t"
      "movl %%fs:0, %%ecx\n"
      "1:\n\t"
      "movl 0(%%ecx), %%edx\n\t"
      "movl %%edx, %%fs:0\n\t"
      "pop %%ebx\n\t"
      "pop %%ebp"
      : "=a"(handler), "+S"(hash), "+D"(framePointer), "+c"(routine)
      :
      : "edx", "memory", "cc");
  if (caughtFaultCode != 0 && !caughtFaultLogged) {
    caughtFaultLogged = true;
    LogLine(
        "The game's native lookup faulted (exception 0x%08X) and was caught; this is logged once. The natives it "
        "did not find did nothing.",
        static_cast<unsigned>(caughtFaultCode));
  }
  return handler;
}
