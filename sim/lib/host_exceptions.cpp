// An exception frame like a compiler's __except: registered through fs:[0]; at an
// exception it records the code, unwinds every frame registered after it and resumes
// after the call with the stack the call had, continuable exception or not.
// Compiler-specific: GCC/Clang i386 inline asm.
#include "sim/host_exceptions.h"

#include <windows.h>

#include <excpt.h>

namespace sim {

namespace {

struct HostHandlerFrame {
  HostHandlerFrame* next;
  void* handler;
  uint32_t resumeEsp;
  uint32_t resumeEip;
  uint32_t code;
};

extern "C" EXCEPTION_DISPOSITION __cdecl SimHostExceptionHandler(EXCEPTION_RECORD* record, void* establisherFrame,
                                                                 CONTEXT*, void*) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  auto* frame = static_cast<HostHandlerFrame*>(establisherFrame);
  frame->code = record->ExceptionCode;
  // Every frame registered after ours sees the unwind and leaves the chain; ours
  // stays first in fs:[0], for the code after the call to unlink.
  RtlUnwind(frame, nullptr, record, nullptr);
  asm volatile(
      "movl %0, %%esp\n\t"
      "jmp *%1"
      :
      : "a"(frame->resumeEsp), "d"(frame->resumeEip)
      : "memory");
  __builtin_unreachable();
}

}  // namespace

uint32_t RunCatchingHostExceptions(void (*body)(void*), void* argument) {
  HostHandlerFrame frame{};
  frame.handler = reinterpret_cast<void*>(&SimHostExceptionHandler);
  HostHandlerFrame* framePointer = &frame;
  // After an exception only ESP is right at the resume point: EBP and EBX are saved on
  // the stack, the frame is found again through fs:[0], ESI is declared lost.
  asm volatile(
      "push %%ebp\n\t"
      "push %%ebx\n\t"
      "movl %%fs:0, %%eax\n\t"
      "movl %%eax, 0(%%edi)\n\t"
      "movl %%esp, 8(%%edi)\n\t"
      "movl $1f, 12(%%edi)\n\t"
      "movl %%edi, %%fs:0\n\t"
      "push %%edx\n\t"
      "call *%%ecx\n\t"
      "add $4, %%esp\n"
      "1:\n\t"
      "movl %%fs:0, %%edi\n\t"
      "movl 0(%%edi), %%edx\n\t"
      "movl %%edx, %%fs:0\n\t"
      "pop %%ebx\n\t"
      "pop %%ebp"
      : "+D"(framePointer), "+c"(body), "+d"(argument)
      :
      : "eax", "esi", "memory", "cc");
  return frame.code;
}

}  // namespace sim
