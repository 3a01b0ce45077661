// Changes to the host's code area [0x1000, 0xA00000) made by anyone but the host
// itself, found by comparing the code with snapshots.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct CodeRange {
  uint32_t offset;                // host offset of the first changed byte
  std::vector<uint8_t> bytes;     // the bytes there now
  std::string BytesText() const;  // "E8 12 34 56 78"
  // TakeNewCodeChanges: every byte of the range was flushed from the instruction cache
  // (FlushInstructionCache, as the plug-in calls it) since the previous report.
  bool flushed = false;
};

// Changed ranges against the code as Boot() planted it (bytes less than 4 apart are
// reported as one range).
std::vector<CodeRange> CodeChangesSinceBoot();
// Writes into the code area as a guest would (protection lifted around the write):
// unlike the host's own writes, the change is reported.
void WriteCodeAsGuest(uint32_t offset, const void* bytes, uint32_t size);

// Changed ranges not reported by an earlier call (the first call compares with Boot);
// each change is reported once.
std::vector<CodeRange> TakeNewCodeChanges();
// A FlushInstructionCache call of a module whose imports the simulator answers
// (imports.h): remembered until the next TakeNewCodeChanges, each range once.
void NoteFlushedCode(uintptr_t address, size_t size);

}  // namespace sim
