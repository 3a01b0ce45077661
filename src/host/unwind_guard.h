// Puts back what the plug-in changed for one host call when an exception raised below
// it is taken by a handler of the host's further out: Windows then unwinds the stack
// past our frames without running a destructor, and without this the host would keep
// our script thread, a changed code byte or a page left writable.
#pragma once

// An exception registration record of the plug-in's own, linked into the thread's
// chain (fs:[0]) for its lifetime. When the stack unwinds through it, its action runs
// once with its argument; on a normal way out (the end of its scope, or a C++ exception
// passing through) it only leaves the chain. Windows accepts registration records only
// on the thread's stack: a guard is always a local variable (or a member of one), and
// guards end in the reverse order of their start, as locals do.
class UnwindGuard {
 public:
  using Action = void (*)(void* argument);
  UnwindGuard(Action action, void* argument);
  ~UnwindGuard();
  UnwindGuard(const UnwindGuard&) = delete;
  UnwindGuard& operator=(const UnwindGuard&) = delete;
  // Called by the guard's exception handler as the stack unwinds through the record.
  void Unwinding() const { action(argument); }

 private:
  // The record's layout is Windows': the link to the next record and the handler come
  // first.
  UnwindGuard* next;
  void* handler;
  Action action;
  void* argument;
};
