// The Windows services the plug-in calls that the simulator answers itself, by
// rewriting a module's import table entries:
//   GetAsyncKeyState  -> the simulated key states (0x8000 while held, else 0), whatever
//                        window is in front
//   GetForegroundWindow, GetWindowThreadProcessId
//                     -> the game's window (of this process and thread) or another
//                        program's (of another process), as SetGameInFront says
//   GetKeyboardLayout, MapVirtualKeyW, MapVirtualKeyExW, ToUnicodeEx
//                     -> the keyboard layout in force (keyboard_layout.h: US or
//                        French) for every thread, its scan-code mapping and the
//                        characters of its keys
//   MessageBoxA       -> recorded (and traced as a message-box event); returns IDOK
//                        without showing anything
//   TerminateProcess  -> traced as {"event":"exit","code":N}, the trace flushed, then
//                        the terminate handler if one is set, else the real
//                        TerminateProcess
//   FlushInstructionCache -> the range noted (code_watch.h: TakeNewCodeChanges says
//                        whether the changed bytes were flushed), then the real one.
//                        A module's imports are answered only once LoadLibrary has
//                        returned: what its DllMain flushes is not noted.
//   OutputDebugStringA -> traced as {"event":"debug-output","frame":N,"text":T}
//   VirtualProtect    -> counted (ProtectionChanges), then the real one
//   WriteFile         -> the real one, or, while SetWriteFileError holds an error
//                        (a full disk, a drive gone), a failure with that error
#pragma once
#include <windows.h>

#include <cstdint>

#include <string>
#include <vector>

namespace sim {

// Rewrites the entries of `module`'s import table; returns how many were rewritten.
// In-process tests pass GetModuleHandle(nullptr) (the test executable holds the
// plug-in's code); the scenario runner passes each module it loads.
int InterceptImports(HMODULE module);

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  unsigned style;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
void ClearMessageBoxes();

// In-process tests that exercise the plug-in's exit path: called instead of ending
// the process (after the exit is recorded). It must not return (throw, or longjmp).
using TerminateHandler = void (*)(unsigned exitCode);
void SetTerminateHandler(TerminateHandler handler);
// Exit codes of TerminateProcess calls seen so far.
const std::vector<unsigned>& TerminateRequests();
// VirtualProtect calls made through an intercepted import table so far (the
// simulator's own included, when its module's table was rewritten).
uint32_t ProtectionChanges();
// WriteFile fails with this Windows error (0: writes go through, as after ResetModel).
void SetWriteFileError(unsigned long error);

}  // namespace sim
