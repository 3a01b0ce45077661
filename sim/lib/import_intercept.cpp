#include "sim/imports.h"

#include <cstring>

#include "sim/code_watch.h"
#include "sim/frame.h"
#include "sim/host_state.h"
#include "sim/keyboard_layout.h"
#include "sim/trace.h"

namespace sim {

namespace {

std::vector<MessageBoxRecord> messageBoxes;
std::vector<unsigned> terminateRequests;
TerminateHandler terminateHandler = nullptr;

SHORT WINAPI SimGetAsyncKeyState(int key) { return QueryKeyState(key) ? static_cast<SHORT>(0x8000) : 0; }

// The simulator has no windows of its own: two made-up handles stand for the game's
// window and another program's.
HWND const gameWindow = reinterpret_cast<HWND>(0x00010010);
HWND const otherWindow = reinterpret_cast<HWND>(0x00020020);

HWND WINAPI SimGetForegroundWindow() { return GameInFront() ? gameWindow : otherWindow; }

// The game's window belongs to this process and thread; the other program's to a
// process id that is not this one's (Windows' ids are multiples of 4).
DWORD WINAPI SimGetWindowThreadProcessId(HWND window, DWORD* processId) {
  if (window != gameWindow && window != otherWindow) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const bool game = window == gameWindow;
  if (processId != nullptr) *processId = game ? GetCurrentProcessId() : GetCurrentProcessId() + 4;
  return game ? GetCurrentThreadId() : 0x4F4;
}

// Every thread of the host runs with the layout in force (SetKeyboardLayout).
HKL WINAPI SimGetKeyboardLayout(DWORD) { return KeyboardLayoutHandle(CurrentKeyboardLayout()); }

UINT WINAPI SimMapVirtualKeyW(UINT code, UINT type) { return MapVirtualKeyOn(CurrentKeyboardLayout(), code, type); }

// A handle of no layout the simulator knows maps nothing, as Windows maps nothing on a
// layout that is not loaded.
UINT WINAPI SimMapVirtualKeyExW(UINT code, UINT type, HKL handle) {
  KeyboardLayout layout;
  if (!LayoutOfHandle(handle, &layout)) return 0;
  return MapVirtualKeyOn(layout, code, type);
}

// The same for ToUnicodeEx: the scan code only says whether the key is up (its top
// bit), which the plug-in never asks about.
int WINAPI SimToUnicodeEx(UINT virtualKey, UINT, const BYTE* keyState, LPWSTR buffer, int size, UINT flags,
                          HKL handle) {
  KeyboardLayout layout;
  if (!LayoutOfHandle(handle, &layout)) return 0;
  return TranslateKey(layout, virtualKey, keyState, buffer, size, flags);
}

int WINAPI SimMessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT style) {
  MessageBoxRecord record{text ? text : "", caption ? caption : "", style};
  messageBoxes.push_back(record);
  WriteTraceLine(JsonObject()
                     .Field("event", "message-box")
                     .Field("text", record.text)
                     .Field("caption", record.caption)
                     .Field("style", record.style)
                     .Text());
  return IDOK;
}

BOOL WINAPI SimTerminateProcess(HANDLE process, UINT code) {
  terminateRequests.push_back(code);
  WriteTraceLine(JsonObject().Field("event", "exit").Field("code", code).Field("reason", "terminate-process").Text());
  if (terminateHandler) terminateHandler(code);
  // The real one: this module's own import of it may be the rewritten entry.
  using TerminateFunction = BOOL(WINAPI*)(HANDLE, UINT);
  auto real = reinterpret_cast<TerminateFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "TerminateProcess")));
  return real(process, code);
}

BOOL WINAPI SimFlushInstructionCache(HANDLE process, LPCVOID address, SIZE_T size) {
  NoteFlushedCode(reinterpret_cast<uintptr_t>(address), size);
  using FlushFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, SIZE_T);
  auto real = reinterpret_cast<FlushFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "FlushInstructionCache")));
  return real(process, address, size);
}

DWORD writeFileError = 0;

// A disk that refuses writes (full, or gone): WriteFile fails with the error set.
BOOL WINAPI SimWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  if (writeFileError != 0) {
    if (written != nullptr) *written = 0;
    SetLastError(writeFileError);
    return FALSE;
  }
  using WriteFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
  auto real = reinterpret_cast<WriteFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "WriteFile")));
  return real(file, bytes, size, written, overlapped);
}

uint32_t protectionChanges = 0;

BOOL WINAPI SimVirtualProtect(LPVOID address, SIZE_T size, DWORD protection, PDWORD old) {
  ++protectionChanges;
  using ProtectFunction = BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD, PDWORD);
  auto real = reinterpret_cast<ProtectFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "VirtualProtect")));
  return real(address, size, protection, old);
}

// Another module's word for the trace (a neighbour plug-in fixture says when its hooks
// run): traced as a debug-output record of the current frame.
void WINAPI SimOutputDebugStringA(LPCSTR text) {
  WriteTraceLine(JsonObject()
                     .Field("event", "debug-output")
                     .Field("frame", CurrentFrame())
                     .Field("text", text ? text : "")
                     .Text());
}

struct Replacement {
  const char* dll;
  const char* name;
  void* function;
};

const Replacement replacements[] = {
    {"user32.dll", "GetAsyncKeyState", reinterpret_cast<void*>(&SimGetAsyncKeyState)},
    {"user32.dll", "GetKeyboardLayout", reinterpret_cast<void*>(&SimGetKeyboardLayout)},
    {"user32.dll", "MapVirtualKeyW", reinterpret_cast<void*>(&SimMapVirtualKeyW)},
    {"user32.dll", "MapVirtualKeyExW", reinterpret_cast<void*>(&SimMapVirtualKeyExW)},
    {"user32.dll", "ToUnicodeEx", reinterpret_cast<void*>(&SimToUnicodeEx)},
    {"user32.dll", "MessageBoxA", reinterpret_cast<void*>(&SimMessageBoxA)},
    {"user32.dll", "GetForegroundWindow", reinterpret_cast<void*>(&SimGetForegroundWindow)},
    {"user32.dll", "GetWindowThreadProcessId", reinterpret_cast<void*>(&SimGetWindowThreadProcessId)},
    {"kernel32.dll", "TerminateProcess", reinterpret_cast<void*>(&SimTerminateProcess)},
    {"kernel32.dll", "FlushInstructionCache", reinterpret_cast<void*>(&SimFlushInstructionCache)},
    {"kernel32.dll", "OutputDebugStringA", reinterpret_cast<void*>(&SimOutputDebugStringA)},
    {"kernel32.dll", "VirtualProtect", reinterpret_cast<void*>(&SimVirtualProtect)},
    {"kernel32.dll", "WriteFile", reinterpret_cast<void*>(&SimWriteFile)},
};
constexpr int replacementCount = sizeof replacements / sizeof replacements[0];

void WriteEntry(void** entry, void* function) {
  DWORD old = 0;
  if (VirtualProtect(entry, sizeof(void*), PAGE_READWRITE, &old)) {
    *entry = function;
    VirtualProtect(entry, sizeof(void*), old, &old);
  }
}

}  // namespace

int InterceptImports(HMODULE module) {
  if (!module) return 0;
  auto* base = reinterpret_cast<unsigned char*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return 0;
  // Entries bound to the real functions, for import tables without name thunks.
  void* real[replacementCount];
  for (int i = 0; i < replacementCount; ++i) {
    real[i] = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(replacements[i].dll), replacements[i].name));
  }
  int rewritten = 0;
  for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    auto** entry = reinterpret_cast<void**>(base + descriptor->FirstThunk);
    auto* names = descriptor->OriginalFirstThunk
                      ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk)
                      : nullptr;
    for (int k = 0; entry[k] != nullptr; ++k) {
      for (int i = 0; i < replacementCount; ++i) {
        bool match = entry[k] == real[i] && real[i] != nullptr;
        if (names && !IMAGE_SNAP_BY_ORDINAL(names[k].u1.Ordinal)) {
          auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[k].u1.AddressOfData);
          match = match || std::strcmp(reinterpret_cast<const char*>(byName->Name), replacements[i].name) == 0;
        }
        if (match && entry[k] != replacements[i].function) {
          WriteEntry(&entry[k], replacements[i].function);
          ++rewritten;
        }
      }
    }
  }
  return rewritten;
}

const std::vector<MessageBoxRecord>& MessageBoxes() { return messageBoxes; }
void ClearMessageBoxes() { messageBoxes.clear(); }
void SetTerminateHandler(TerminateHandler handler) { terminateHandler = handler; }
const std::vector<unsigned>& TerminateRequests() { return terminateRequests; }
uint32_t ProtectionChanges() { return protectionChanges; }
void SetWriteFileError(unsigned long error) { writeFileError = error; }

}  // namespace sim
