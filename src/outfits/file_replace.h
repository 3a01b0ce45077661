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

// Another program (a virus scanner, a search indexer) that opens a file for a moment
// makes file operations fail with a sharing or lock violation; a moment later they
// work. ForgetFileFailure clears what this thread's last failure was;
// FileFailureIsBrief tells, after a file operation above or of the C runtime failed,
// whether it met such a violation, and so is worth trying again shortly. A read-only
// file, a folder or a full disk are not.
void ForgetFileFailure();
bool FileFailureIsBrief();
// The Windows error code of this thread's last failed file operation, of the system or
// the C runtime (0 when none is known), for the log.
unsigned long LastFileErrorCode();

// Waits that long doing nothing (Sleep): the pause between a save's tries.
void WaitMilliseconds(unsigned milliseconds);
