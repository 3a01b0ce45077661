// Wardrobe.asi's entry: the host's plug-in loader maps the module and calls this.
#include <windows.h>

#include "core/start_up.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) StartUp();
  return TRUE;
}
