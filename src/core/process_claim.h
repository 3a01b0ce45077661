// One wardrobe per process: a player may have two copies of the plug-in in the game's
// folder (downloaded twice, renamed, two versions); only the first to start works.
#pragma once

// Claims this process's wardrobe name (a named mutex whose name carries the process
// id, the same for every copy and version of the plug-in) and keeps it for the life of
// the process. False when another copy claimed it first, or when the name cannot be
// had: this copy then stays idle.
bool ClaimProcessWardrobe();
