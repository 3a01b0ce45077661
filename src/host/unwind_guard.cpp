// Compiler-specific: GCC/Clang i386 inline asm for the thread's exception chain (fs:[0]).
#include "host/unwind_guard.h"

#include <windows.h>

#include <excpt.h>

// Windows calls this handler only while the image allows it, as for the lookup guard
// (no NO_SEH flag, and a SafeSEH table, if there is one, that lists it); the link map
// gives its address to the image check.
extern "C" EXCEPTION_DISPOSITION __cdecl UnwindGuardHandler(EXCEPTION_RECORD* record, void* establisherFrame, CONTEXT*,
                                                            void*) {
  // An exception is never handled here: it goes on to the handlers further out. Only
  // when one of them has taken it and the stack unwinds through this record does the
  // action run (Windows unlinks the record itself).
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    static_cast<const UnwindGuard*>(establisherFrame)->Unwinding();
  }
  return ExceptionContinueSearch;
}

UnwindGuard::UnwindGuard(Action action, void* argument)
    : next(nullptr), handler(reinterpret_cast<void*>(&UnwindGuardHandler)), action(action), argument(argument) {
  // The memory clobber keeps every field stored before the record is linked in.
  asm volatile(
      "movl %%fs:0, %%eax\n\t"
      "movl %%eax, (%0)\n\t"
      "movl %0, %%fs:0"
      :
      : "r"(this)
      : "eax", "memory");
}

UnwindGuard::~UnwindGuard() { asm volatile("movl %0, %%fs:0" : : "r"(next) : "memory"); }
