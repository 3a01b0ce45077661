#include "sim/code_watch.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "planting.h"
#include "sim/host_image.h"

namespace sim {

namespace {

constexpr uint32_t CodeSize = CodeAreaEnd - HostMemoryStart;
constexpr uint32_t MergeGap = 4;

std::vector<uint8_t> bootSnapshot;
std::vector<uint8_t> reportedSnapshot;
// Flushed ranges since the last report, as [first, end) addresses, each range once:
// a plug-in that flushes the same byte every frame keeps this at one entry.
std::vector<std::pair<uintptr_t, uintptr_t>> flushedRanges;

bool Flushed(uintptr_t first, uintptr_t end) {
  // Covered byte by byte: a change may be flushed in pieces (opcode, displacement).
  for (uintptr_t at = first; at < end; ++at) {
    bool covered = false;
    for (const auto& range : flushedRanges) covered = covered || (at >= range.first && at < range.second);
    if (!covered) return false;
  }
  return true;
}

std::vector<CodeRange> Compare(const std::vector<uint8_t>& snapshot) {
  std::vector<CodeRange> ranges;
  const uint8_t* now = HostAt(HostMemoryStart);
  uint32_t i = 0;
  while (i < CodeSize) {
    // Whole blocks first: the code area is large and almost always unchanged.
    if (i % 4096 == 0 && i + 4096 <= CodeSize && std::memcmp(now + i, snapshot.data() + i, 4096) == 0) {
      i += 4096;
      continue;
    }
    if (now[i] == snapshot[i]) {
      ++i;
      continue;
    }
    uint32_t first = i;
    uint32_t last = i;
    for (uint32_t j = i + 1; j < CodeSize && j <= last + MergeGap; ++j) {
      if (now[j] != snapshot[j]) last = j;
    }
    ranges.push_back({HostMemoryStart + first, std::vector<uint8_t>(now + first, now + last + 1)});
    i = last + 1;
  }
  return ranges;
}

}  // namespace

std::string CodeRange::BytesText() const {
  std::string text;
  for (uint8_t b : bytes) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02X", b);
    if (!text.empty()) text += " ";
    text += buffer;
  }
  return text;
}

void TakeBootCodeSnapshot() {
  const uint8_t* code = HostAt(HostMemoryStart);
  bootSnapshot.assign(code, code + CodeSize);
  reportedSnapshot = bootSnapshot;
}

void WriteCodeAsGuest(uint32_t offset, const void* bytes, uint32_t size) {
  DWORD old = 0;
  BOOL lifted = VirtualProtect(HostAt(offset), size, PAGE_EXECUTE_READWRITE, &old);
  std::memcpy(HostAt(offset), bytes, size);
  if (lifted) VirtualProtect(HostAt(offset), size, old, &old);
  FlushInstructionCache(GetCurrentProcess(), HostAt(offset), size);
}

void WriteHostCode(uint32_t offset, const void* bytes, uint32_t size) {
  WriteCodeAsGuest(offset, bytes, size);
  if (offset >= HostMemoryStart && offset + size <= CodeAreaEnd && !bootSnapshot.empty()) {
    std::memcpy(bootSnapshot.data() + (offset - HostMemoryStart), bytes, size);
    std::memcpy(reportedSnapshot.data() + (offset - HostMemoryStart), bytes, size);
  }
}

std::vector<CodeRange> CodeChangesSinceBoot() {
  Boot();
  return Compare(bootSnapshot);
}

std::vector<CodeRange> TakeNewCodeChanges() {
  Boot();
  std::vector<CodeRange> ranges = Compare(reportedSnapshot);
  for (CodeRange& range : ranges) {
    std::memcpy(reportedSnapshot.data() + (range.offset - HostMemoryStart), range.bytes.data(), range.bytes.size());
    const uintptr_t first = reinterpret_cast<uintptr_t>(HostAt(range.offset));
    range.flushed = Flushed(first, first + range.bytes.size());
  }
  flushedRanges.clear();
  return ranges;
}

void NoteFlushedCode(uintptr_t address, size_t size) {
  const std::pair<uintptr_t, uintptr_t> range(address, address + size);
  for (const auto& known : flushedRanges) {
    if (known == range) return;
  }
  flushedRanges.push_back(range);
}

}  // namespace sim
