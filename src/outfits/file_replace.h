// Putting a fully written file in place of another in one step.
#pragma once

// Makes the file at source the file at target, replacing any file there, so that the
// target is at every moment either the old file or the complete new one. The source's
// content is flushed to the disk first. False when the replacement did not happen
// (the target is then unchanged and the source still exists).
bool ReplaceFileAtomically(const char* source, const char* target);
