// Every write of the plug-in into host code is flushed from the instruction cache.
// Here rather than among the host tests: the simulator answers this executable's
// imports from the first test that asks, and the host tests count what it rewrites.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "host/code_hooks.h"
#include "host/host_memory.h"
#include "sim/sim.h"

namespace {

// Windows asks any program that changes code to flush the changed bytes from the
// instruction cache: every write of ours into host code does, a plain write does not.
TEST(CodeWrites, EveryWriteIntoHostCodeIsFlushed) {
  sim::Boot();
  sim::InterceptImports(GetModuleHandleW(nullptr));
  sim::TakeNewCodeChanges();  // what came before is reported, its flushes forgotten

  // A hook's two writes, the opcode and the displacement, on the probe call (redirected,
  // the host jumps over it).
  InstallHook(sim::ProbeCallAddress(), sim::SiteCallee(0));
  std::vector<sim::CodeRange> changes = sim::TakeNewCodeChanges();
  ASSERT_FALSE(changes.empty());
  for (const sim::CodeRange& change : changes) EXPECT_TRUE(change.flushed) << change.offset;
  sim::SetProbeTarget(sim::ProbeRoutine());

  // The prop query's code byte, there and back.
  const uintptr_t patchByte = sim::HostBase() + sim::Layout().propQueryPatchByte;
  for (uint8_t value : {8, 4}) {
    WriteHostCode<uint8_t>(patchByte, value);
    changes = sim::TakeNewCodeChanges();
    ASSERT_EQ(1u, changes.size());
    EXPECT_TRUE(changes[0].flushed);
  }
  // The check sees a write that is not flushed.
  WriteHostMemory<uint8_t>(patchByte, 8);
  changes = sim::TakeNewCodeChanges();
  ASSERT_EQ(1u, changes.size());
  EXPECT_FALSE(changes[0].flushed);
  WriteHostMemory<uint8_t>(patchByte, 4);
  sim::TakeNewCodeChanges();
}

}  // namespace
