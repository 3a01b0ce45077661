// Where modules live: the plug-in's own file (its settings and log lie beside it) and
// the module that owns an address (whose patch a host call leads into).
#pragma once
#include <cstdint>
#include <string>

// The full path of the module this code is part of ("...\scripts\Wardrobe.asi").
std::wstring OwnModulePath();
// The full path of the process's executable (the game's).
std::wstring ExecutablePath();
// The full path a file name (in the C runtime's ANSI code page, as the outfit files'
// names are) stands for in the current directory; the name itself when Windows cannot
// say.
std::wstring FullPathOf(const char* name);
// The full path of the module whose image holds address; "" when none does.
std::wstring ModulePathAt(uintptr_t address);
// path with its extension (after the last dot of its last part) replaced by
// extension (".ini"), or extension appended when it has none.
std::wstring WithExtension(const std::wstring& path, const wchar_t* extension);
// A path for the log: UTF-8. Never throws ("" when out of memory).
std::string Utf8(const std::wstring& text);
