// Looking before patching: a host whose code at one of the eight sites is not a call
// we can chain (another program's patch) is left exactly as it is. Each site in turn,
// each kind of change; the hooks of the rest of this executable stay as they are,
// since a failed installation writes nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "core/frame_callbacks.h"
#include "host/code_hooks.h"
#include "host/host_memory.h"
#include "sim/sim.h"

namespace {

struct Tamper {
  sim::SiteTamper kind;
  const char* name;
  bool hostRunsSite;  // the host can still run the site (the others would fault there)
};

const Tamper tampers[] = {
    {sim::SiteTamper::Nops, "five NOPs", true},
    {sim::SiteTamper::JumpToTrampoline, "JMP to a trampoline", true},
    {sim::SiteTamper::CallUnmapped, "E8 to unmapped memory", false},
    {sim::SiteTamper::CallDataPage, "E8 into a data page", false},
};

std::vector<uint8_t> SiteBytes() {
  std::vector<uint8_t> bytes;
  for (int site = 0; site < 8; ++site) {
    const auto* at = reinterpret_cast<const uint8_t*>(sim::SiteAddress(site));
    bytes.insert(bytes.end(), at, at + 5);
  }
  return bytes;
}

TEST(TamperedSites, AnyOneSiteChangedLeavesTheHostUntouched) {
  sim::Boot();
  sim::ResetModel();
  for (const Tamper& tamper : tampers) {
    for (int site = 0; site < 8; ++site) {
      SCOPED_TRACE(std::string(tamper.name) + " at site " + std::to_string(site));
      sim::TamperSite(site, tamper.kind);
      const std::vector<uint8_t> before = SiteBytes();
      const size_t changesBefore = sim::CodeChangesSinceBoot().size();
      uint32_t calleesBefore[CodeHookCount];
      std::memcpy(calleesBefore, hookPreviousCallee, sizeof calleesBefore);

      EXPECT_FALSE(SiteCanBeChained(sim::SiteAddress(site)));
      EXPECT_FALSE(InstallHooks(frameCallbacks, cameraCallbacks));

      EXPECT_EQ(before, SiteBytes()) << "no byte of any site written";
      EXPECT_EQ(changesBefore, sim::CodeChangesSinceBoot().size()) << "no byte of host code written";
      EXPECT_EQ(0, std::memcmp(calleesBefore, hookPreviousCallee, sizeof calleesBefore));
      // The host goes on running the changed site as the other program left it.
      if (tamper.hostRunsSite) {
        EXPECT_EQ(tamper.kind != sim::SiteTamper::Nops, sim::RunSite(site).calleeRan);
      }
      sim::TamperSite(site, sim::SiteTamper::None);
    }
  }
  // Put back, every site can be chained again.
  for (int site = 0; site < 8; ++site) EXPECT_TRUE(SiteCanBeChained(sim::SiteAddress(site))) << "site " << site;
}

// What the check asks of a call's target, on memory of each kind.
TEST(TamperedSites, CallTargetsMustBeCommittedExecutableMemory) {
  sim::Boot();
  EXPECT_TRUE(IsExecutableMemory(sim::SiteCallee(0))) << "the host's own routine";
  EXPECT_TRUE(IsExecutableMemory(reinterpret_cast<uintptr_t>(&SiteCanBeChained))) << "another module's code";
  EXPECT_FALSE(IsExecutableMemory(sim::TamperTarget(0, sim::SiteTamper::CallDataPage))) << "read-write data";
  EXPECT_FALSE(IsExecutableMemory(sim::TamperTarget(0, sim::SiteTamper::CallUnmapped))) << "nothing mapped";
  void* reserved = VirtualAlloc(nullptr, 0x10000, MEM_RESERVE, PAGE_EXECUTE_READ);
  ASSERT_NE(nullptr, reserved);
  EXPECT_FALSE(IsExecutableMemory(reinterpret_cast<uintptr_t>(reserved))) << "reserved, not committed";
  void* guarded = VirtualAlloc(reserved, 0x1000, MEM_COMMIT, PAGE_EXECUTE_READ | PAGE_GUARD);
  ASSERT_NE(nullptr, guarded);
  EXPECT_FALSE(IsExecutableMemory(reinterpret_cast<uintptr_t>(guarded))) << "a guard page";
  VirtualFree(reserved, 0, MEM_RELEASE);
  EXPECT_FALSE(IsExecutableMemory(0));

  EXPECT_TRUE(IsReadableMemory(sim::SiteAddress(0), 5));
  EXPECT_FALSE(IsReadableMemory(sim::TamperTarget(0, sim::SiteTamper::CallUnmapped), 5));
  EXPECT_FALSE(SiteCanBeChained(0));
}

}  // namespace
