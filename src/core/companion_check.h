// The one-time check of the companion menu module.
#pragma once

extern bool companionCheckPending;
constexpr unsigned MinCompanionVersion = 220625;

void CheckCompanionModule();
void ProbeCompanionHook();
[[noreturn]] void ExitIncompatibleCompanion();
