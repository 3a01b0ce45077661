// Copies of the plug-in from before the one-per-process claim (1.0.0) do not claim
// the process: a newer copy loaded after one finds the host's calls already leading
// into it instead.
#pragma once

// Whether one of the hooked call sites leads into another module whose version
// resource gives the plug-in's internal name: an older copy already runs, and this one
// is to stay idle. Asked before anything is patched.
bool OlderCopyHooked();
