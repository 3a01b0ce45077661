// The eight code hooks installed in the simulated host's code: the bytes written, the
// host's registers through every thunk kind, the script-thread switch of the frame
// hook, and the memory helpers underneath.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "core/frame_callbacks.h"
#include "host/code_hooks.h"
#include "host/game_version.h"
#include "host/hook_thunks.h"
#include "host/host_memory.h"
#include "host/natives.h"
#include "host/prop_texture_query.h"
#include "sim/sim.h"

namespace {

DWORD ProtectionAt(uintptr_t address) {
  MEMORY_BASIC_INFORMATION info{};
  VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info);
  return info.Protect;
}

int32_t Displacement(uintptr_t address) {
  int32_t value;
  std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
  return value;
}

// Hooks are installed once per process, as at start-up; every test sees them.
class CodeHooksTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sim::Boot();
    sim::InterceptImports(GetModuleHandleW(nullptr));  // VirtualProtect counted
    for (int i = 0; i < 8; ++i) calleesBefore.push_back(sim::SiteCallTarget(i));
    protectionBefore = ProtectionAt(sim::SiteAddress(0));
    InstallHooks(frameCallbacks, cameraCallbacks);
  }
  void SetUp() override { sim::ResetModel(); }
  void TearDown() override {
    frameCallbacks.clear();
    cameraCallbacks.clear();
    codeHooks[4].afterCallbacks->clear();
    codeHooks[5].afterCallbacks->clear();
  }
  static std::vector<uintptr_t> calleesBefore;
  static DWORD protectionBefore;
};
std::vector<uintptr_t> CodeHooksTest::calleesBefore;
DWORD CodeHooksTest::protectionBefore;

TEST_F(CodeHooksTest, EachSiteCallsItsThunkAndKeepsThePreviousCallee) {
  ASSERT_NE(0, GameVersion);
  for (int i = 0; i < 8; ++i) {
    const uintptr_t site = sim::SiteAddress(i);
    EXPECT_EQ(site, ResolveHostAddress(codeHooks[i].site)) << "site " << i;
    EXPECT_EQ(0xE8, *reinterpret_cast<const uint8_t*>(site)) << "site " << i;
    EXPECT_EQ(static_cast<int32_t>(HookThunk(i) - site - 5), Displacement(site + 1)) << "site " << i;
    EXPECT_EQ(calleesBefore[i], hookPreviousCallee[i]) << "site " << i;
    EXPECT_EQ(sim::SiteCallee(i), hookPreviousCallee[i]) << "site " << i;
    EXPECT_EQ(protectionBefore, ProtectionAt(site)) << "site " << i << ": protection restored";
  }
  EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), protectionBefore);
}

// Only bytes of the displacements change: a displacement byte that happens to be the
// same for the thunk as for the previous callee is not reported, so a site's change
// may be shorter than 4 bytes, but it lies inside them.
TEST_F(CodeHooksTest, OnlyTheEightDisplacementsChanged) {
  std::vector<uint32_t> displacements;
  for (int i = 0; i < 8; ++i) displacements.push_back(sim::HostOffsetOf(sim::SiteAddress(i)) + 1);
  std::sort(displacements.begin(), displacements.end());
  std::vector<uint32_t> changedSites;
  for (const sim::CodeRange& range : sim::CodeChangesSinceBoot()) {
    const auto next = std::upper_bound(displacements.begin(), displacements.end(), range.offset);
    ASSERT_NE(next, displacements.begin()) << "change at offset " << range.offset << " before every site";
    const uint32_t displacement = *(next - 1);
    EXPECT_LE(range.offset + range.bytes.size(), displacement + 4u) << "change at offset " << range.offset;
    changedSites.push_back(displacement);
  }
  EXPECT_EQ(displacements, changedSites);
}

TEST_F(CodeHooksTest, HostRegistersReachTheHostRoutineThroughEveryThunk) {
  int runs = 0;
  static int* counter;
  counter = &runs;
  RegisterFrameCallback([]() -> int32_t {
    ++*counter;
    return 0;
  });
  RegisterCameraCallback([]() -> int32_t {
    ++*counter;
    return 0;
  });
  for (int i = 0; i < 8; ++i) {
    const sim::SiteObservation observation = sim::RunSite(i);
    EXPECT_TRUE(observation.Intact()) << "site " << i << ": " << observation.mismatch;
    EXPECT_EQ(sim::SiteResultValue(i), observation.resultAfterCall) << "site " << i;
  }
  EXPECT_EQ(2, runs) << "the frame and camera lists ran once each";
}

TEST_F(CodeHooksTest, AfterKindCallbacksRunAfterTheCalleeWithItsObject) {
  static std::vector<uint32_t> objects;
  static std::vector<bool> calleeDone;
  objects.clear();
  calleeDone.clear();
  codeHooks[4].afterCallbacks->push_back([](uint32_t object) {
    objects.push_back(object);
    calleeDone.push_back(sim::SiteCalleeEntered(4));
  });
  codeHooks[5].afterCallbacks->push_back([](uint32_t object) {
    objects.push_back(object);
    calleeDone.push_back(sim::SiteCalleeEntered(5));
  });
  const sim::SiteObservation four = sim::RunSite(4);
  const sim::SiteObservation five = sim::RunSite(5);
  EXPECT_TRUE(four.Intact()) << four.mismatch;
  EXPECT_TRUE(five.Intact()) << five.mismatch;
  ASSERT_EQ(2u, objects.size());
  EXPECT_EQ(sim::SiteObjectPointer(4), objects[0]);
  EXPECT_EQ(sim::SiteObjectPointer(5), objects[1]);
  EXPECT_EQ((std::vector<bool>{true, true}), calleeDone) << "the host's routine ran first";
}

TEST_F(CodeHooksTest, BeforeKindCallbacksRunBeforeTheHostsRoutine) {
  static std::vector<bool> calleeDone;
  calleeDone.clear();
  RegisterFrameCallback([]() -> int32_t {
    calleeDone.push_back(sim::SiteCalleeEntered(sim::FrameSite));
    return 0;
  });
  RegisterCameraCallback([]() -> int32_t {
    calleeDone.push_back(sim::SiteCalleeEntered(sim::CameraSite));
    return 0;
  });
  EXPECT_TRUE(sim::RunSite(sim::FrameSite).Intact());
  EXPECT_TRUE(sim::RunSite(sim::CameraSite).Intact());
  EXPECT_EQ((std::vector<bool>{false, false}), calleeDone);
}

TEST_F(CodeHooksTest, FrameCallbacksRunInOurScriptThreadInRegistrationOrder) {
  static std::vector<int> order;
  static std::vector<uint32_t> threadSeen;
  order.clear();
  threadSeen.clear();
  const uint32_t hostThread = sim::CurrentScriptThreadValue();
  ASSERT_EQ(sim::HostScriptThreadRecord(), hostThread);
  auto first = []() -> int32_t {
    order.push_back(1);
    threadSeen.push_back(sim::CurrentScriptThreadValue());
    return 0;
  };
  auto second = []() -> int32_t {
    order.push_back(2);
    return 7;
  };
  RegisterFrameCallback(first);
  RegisterFrameCallback(second);
  RegisterFrameCallback(first);  // stored twice, runs twice
  sim::RunSite(sim::FrameSite);
  EXPECT_EQ((std::vector<int>{1, 2, 1}), order);
  ASSERT_EQ(2u, threadSeen.size());
  EXPECT_EQ(reinterpret_cast<uintptr_t>(PluginScriptThread), threadSeen[0]);
  EXPECT_EQ(hostThread, sim::CurrentScriptThreadValue()) << "restored after the walk";

  // The camera hook walks its own list, outside the script context.
  RegisterCameraCallback([]() -> int32_t {
    threadSeen.push_back(sim::CurrentScriptThreadValue());
    return 0;
  });
  sim::RunSite(sim::CameraSite);
  EXPECT_EQ(hostThread, threadSeen.back());
  EXPECT_EQ(3u, order.size()) << "the camera site does not walk the frame list";
}

TEST_F(CodeHooksTest, AnExceptionInACallbackNeverReachesTheHost) {
  static int after = 0;
  after = 0;
  RegisterFrameCallback([]() -> int32_t { throw std::runtime_error("callback failed"); });
  RegisterFrameCallback([]() -> int32_t {
    ++after;
    return 0;
  });
  const uint32_t hostThread = sim::CurrentScriptThreadValue();
  const sim::SiteObservation observation = sim::RunSite(sim::FrameSite);
  EXPECT_TRUE(observation.Intact()) << observation.mismatch;
  EXPECT_EQ(hostThread, sim::CurrentScriptThreadValue());
  EXPECT_EQ(0, after) << "the walk ends at the failing callback";
  sim::RunSite(sim::FrameSite);
  EXPECT_TRUE(sim::LastObservation(sim::FrameSite).Intact());
}

// An exception raised inside the frame hook's walk and taken by the host's own handler
// further out unwinds past our frames without running a destructor: the host's script
// thread is put back, and when it comes inside a prop-texture query, the code byte and
// its page's protection too. The exception chain is as before, and the hook works on.
TEST_F(CodeHooksTest, AnExceptionTheHostTakesLeavesNothingOfOursBehind) {
  static int32_t texture = -5;
  RegisterFrameCallback([]() -> int32_t {
    IsUsingPad();  // a native before the query
    const PropTextureQuery query;
    texture = query.Texture(sim::PlayerPedHandle, 0);
    return 0;
  });
  sim::PutProp(0, 1, 2);
  const uint32_t hostThread = sim::CurrentScriptThreadValue();
  const uint32_t chain = __readfsdword(0);
  const uint32_t hostProtection = sim::PropQueryPatchByteProtection();
  ASSERT_EQ(static_cast<uint32_t>(PAGE_EXECUTE_READ), hostProtection);

  struct Case {
    const char* where;
    bool raiseAtFirstLookup;  // else inside the query, while the byte reads 8
  };
  for (const Case& c : {Case{"at the walk's first native", true}, Case{"inside the prop-texture query", false}}) {
    SCOPED_TRACE(c.where);
    texture = -5;
    if (c.raiseAtFirstLookup) {
      sim::SetLookupRaise(true);
    } else {
      sim::SetLookupRaiseOn(sim::NativeHashOf("GetPedPropIndex"), 1);
    }
    // The site runs inside the host's own exception frame, which takes the exception.
    EXPECT_EQ(sim::LookupExceptionCode, sim::RunSite(sim::FrameSite).hostException);
    sim::SetLookupRaise(false);
    EXPECT_EQ(-5, texture) << "the query never returned";
    EXPECT_EQ(hostThread, sim::CurrentScriptThreadValue());
    EXPECT_EQ(4, sim::PropQueryPatchByteValue());
    EXPECT_EQ(hostProtection, sim::PropQueryPatchByteProtection());
    EXPECT_EQ(chain, __readfsdword(0));

    EXPECT_EQ(0u, sim::RunSite(sim::FrameSite).hostException);
    EXPECT_EQ(2, texture) << "the next frame queries as ever";
    EXPECT_EQ(hostThread, sim::CurrentScriptThreadValue());
    EXPECT_EQ(4, sim::PropQueryPatchByteValue());
    EXPECT_EQ(hostProtection, sim::PropQueryPatchByteProtection());
  }
}

// Host data the plug-in writes on every frame (the current script thread, twice per
// hooked call) is written as it stands, and host code is read as it stands: no
// protection is changed for either, while a write into host code still lifts and
// restores.
TEST_F(CodeHooksTest, WritesIntoWritableHostDataChangeNoProtection) {
  RegisterFrameCallback([]() -> int32_t { return 0; });
  const uint32_t changesBefore = sim::ProtectionChanges();
  for (int i = 0; i < 3; ++i) sim::RunSite(sim::FrameSite);
  EXPECT_EQ(changesBefore, sim::ProtectionChanges()) << "three hooked calls, six script-thread swaps";
  EXPECT_EQ(sim::SiteCallTarget(0), ReadRelativeTarget(sim::SiteAddress(0) + 1, 4));
  EXPECT_EQ(changesBefore, sim::ProtectionChanges()) << "host code is readable as it stands";

  const uintptr_t patchByte = sim::HostBase() + sim::Layout().propQueryPatchByte;
  WriteHostCode<uint8_t>(patchByte, 4);
  EXPECT_EQ(changesBefore + 2, sim::ProtectionChanges()) << "host code: lifted, then put back";
  EXPECT_EQ(static_cast<uint32_t>(PAGE_EXECUTE_READ), sim::PropQueryPatchByteProtection());
}

// The helpers on a scratch page of our own, laid out like host code.
class RelativeCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page = static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, page);
  }
  void TearDown() override { VirtualFree(page, 0, MEM_RELEASE); }
  void Seal() {
    DWORD old;
    VirtualProtect(page, 4096, PAGE_EXECUTE_READ, &old);
  }
  uintptr_t At(int offset) const { return reinterpret_cast<uintptr_t>(page + offset); }
  uint8_t* page = nullptr;
};

TEST_F(RelativeCallTest, InstallHookReadsThePreviousCalleeAndWritesTheThunk) {
  struct Case {
    int32_t oldDisplacement;
  };
  for (const Case c : {Case{0x1000}, Case{-256}}) {
    DWORD old;
    VirtualProtect(page, 4096, PAGE_READWRITE, &old);
    const int site = 0x800;
    page[site] = 0xE8;
    std::memcpy(page + site + 1, &c.oldDisplacement, 4);
    Seal();
    const uintptr_t thunk = 0x12345678;
    const uintptr_t previous = InstallHook(At(site), thunk);
    EXPECT_EQ(At(site) + 5 + c.oldDisplacement, previous);
    EXPECT_EQ(0xE8, page[site]);
    const uint32_t expected = static_cast<uint32_t>(thunk - At(site) - 5);
    const uint8_t bytes[4] = {uint8_t(expected), uint8_t(expected >> 8), uint8_t(expected >> 16),
                              uint8_t(expected >> 24)};
    EXPECT_EQ(0, std::memcmp(bytes, page + site + 1, 4)) << "little-endian thunk - site - 5";
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), ProtectionAt(At(site)));
  }
  EXPECT_EQ(0u, InstallHook(0, 0x12345678)) << "a null site changes nothing";
}

TEST_F(RelativeCallTest, ReadRelativeTargetSignExtendsEachWidth) {
  page[0x10] = 0xFE;
  page[0x20] = 0xFE;
  page[0x21] = 0xFF;
  const int32_t four = -0x100000;
  std::memcpy(page + 0x30, &four, 4);
  Seal();
  EXPECT_EQ(At(0x10) + 1 - 2, ReadRelativeTarget(At(0x10), 1));
  EXPECT_EQ(At(0x20) + 2 - 2, ReadRelativeTarget(At(0x20), 2));
  EXPECT_EQ(At(0x30) + 4 - 0x100000, ReadRelativeTarget(At(0x30), 4));
  EXPECT_EQ(0u, ReadRelativeTarget(At(0x10), 3));
}

TEST_F(RelativeCallTest, ProtectionScopeLiftsAndRestores) {
  Seal();
  {
    ProtectionScope scope(At(0x40), 4);
    EXPECT_TRUE(scope.Active());
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READWRITE), ProtectionAt(At(0x40)));
    page[0x40] = 0x90;
  }
  EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), ProtectionAt(At(0x40)));
  ProtectionScope empty(At(0x40), 0);
  EXPECT_FALSE(empty.Active());
  WriteRelativeTarget(At(0x50), At(0x50) + 4 + 0x20);
  EXPECT_EQ(0x20, Displacement(At(0x50)));
}

// A write that relies on its caller's lifted span lands inside it without lifting
// again; one outside the span must not fault on the execute-read page but lift its own.
TEST_F(RelativeCallTest, WritesInsideALiftedSpanAndLiftsForOneOutsideIt) {
  Seal();
  {
    const ProtectionScope span(At(0x60), 8);
    WriteHostMemory<uint32_t>(span, At(0x64), 0x11223344u);
    WriteHostMemory<uint8_t>(span, At(0x80), 0x5A);  // not covered
    EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READWRITE), ProtectionAt(At(0x60)));
  }
  uint32_t inside = 0;
  std::memcpy(&inside, page + 0x64, 4);
  EXPECT_EQ(0x11223344u, inside);
  EXPECT_EQ(0x5A, page[0x80]);
  EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), ProtectionAt(At(0x80)));
}

TEST(ProtectionScopeSpan, CoversExactlyItsBytes) {
  // Neither lifts anything (nothing is mapped at 0x1000): Covers looks at the span alone.
  const ProtectionScope empty(0x1000, 0);
  const ProtectionScope eight(0x1000, 8);
  struct Case {
    uintptr_t start;
    size_t length;
    bool covered;
  };
  const Case cases[] = {
      {0x1000, 8, true},  {0x1000, 1, true},  {0x1007, 1, true},  {0x1004, 4, true},       {0x0FFF, 1, false},
      {0x1008, 1, false}, {0x1005, 4, false}, {0x1000, 9, false}, {UINTPTR_MAX, 2, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.covered, eight.Covers(c.start, c.length)) << std::hex << c.start << " +" << c.length;
  }
  EXPECT_FALSE(empty.Covers(0x1000, 1));
}

}  // namespace
