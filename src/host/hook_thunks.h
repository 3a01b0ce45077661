// The eight thunks the patched host call sites call; hook_thunks.cpp says what each
// does and which registers it assumes.
#pragma once
#include <cstdint>

// Entry point of the thunk of hook index (0 to 7).
uintptr_t HookThunk(int index);
