// Putting a fully written file in place of another in one step.
#pragma once

// Makes the file at source the file at target, replacing any file there, so that the
// target is at every moment either the old file or the complete new one. The source's
// content is flushed to the disk first. A target that a plain rewrite could not
// replace (marked read-only, a folder, held open by a program that shares no writing)
// is refused here, whatever the platform's rename would do with it. False when the
// replacement did not happen (the target is then unchanged and the source still
// exists).
bool ReplaceFileAtomically(const char* source, const char* target);

// Deletes the file at path if there is one, even one marked read-only: for files that
// are the plug-in's own, such as what an interrupted save left behind. True when no
// file is left at path.
bool DiscardOwnFile(const char* path);
