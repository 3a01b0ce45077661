// The simulated host on its own, without the plug-in's hooks: the planted image, the
// site stubs and their register checks, the host routines, and the native handlers.
#include <windows.h>

#include <gtest/gtest.h>
#include <intrin.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim.h"
#include "support/host_run.h"

namespace {

class SimulatedHost : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::ResetModel();
  }
};

// Executable memory holding a guest routine given as machine code bytes, with the
// four bytes after each 0xE9 placeholder position filled as a jump to `target`.
struct GuestCode {
  unsigned char* code = nullptr;
  explicit GuestCode(std::vector<unsigned char> bytes, uintptr_t jumpTarget = 0) {
    code = static_cast<unsigned char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    std::memcpy(code, bytes.data(), bytes.size());
    if (jumpTarget != 0 && bytes.size() >= 5 && bytes[bytes.size() - 5] == 0xE9) {
      uintptr_t next = reinterpret_cast<uintptr_t>(code) + bytes.size();
      int32_t displacement = static_cast<int32_t>(jumpTarget - next);
      std::memcpy(code + bytes.size() - 4, &displacement, 4);
    }
  }
  ~GuestCode() { VirtualFree(code, 0, MEM_RELEASE); }
  uintptr_t Address() const { return reinterpret_cast<uintptr_t>(code); }
};

// Points the call at a site to `target` as the plug-in would, and back afterwards.
struct SiteRedirect {
  int site;
  int32_t original;
  SiteRedirect(int site, uintptr_t target) : site(site) {
    std::memcpy(&original, reinterpret_cast<const void*>(sim::SiteAddress(site) + 1), 4);
    int32_t displacement = static_cast<int32_t>(target - (sim::SiteAddress(site) + 5));
    sim::WriteCodeAsGuest(sim::Layout().sites[site] + 1, &displacement, 4);
  }
  ~SiteRedirect() { sim::WriteCodeAsGuest(sim::Layout().sites[site] + 1, &original, 4); }
};

uint32_t ReadU32(uintptr_t address) {
  uint32_t value;
  std::memcpy(&value, reinterpret_cast<const void*>(address), 4);
  return value;
}

TEST_F(SimulatedHost, ImageFollowsTheExecutablesBuild) {
  EXPECT_EQ(sim::HostBase(), reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr)));
  const int expectedLayout = sim::FileVersion() == 1080 ? 2 : 1;
  ASSERT_TRUE(sim::FileVersion() == 1070 || sim::FileVersion() == 1080);
  EXPECT_EQ(sim::LayoutBuild(), expectedLayout);
  const sim::HostLayout& layout = sim::Layout();
  EXPECT_EQ(layout.sites[sim::FrameSite] - layout.probeSite, 20u);
  EXPECT_EQ(layout.sites[0], expectedLayout == 1 ? 0x21601u : 0x95141u);
  EXPECT_EQ(layout.getPlayerPedObject - layout.getPlayerInfo, 0x20u);

  for (int site = 0; site < sim::SiteCount; ++site) {
    SCOPED_TRACE(site);
    EXPECT_EQ(*sim::HostAt(layout.sites[site]), 0xE8);
    EXPECT_EQ(sim::SiteCallTarget(site), sim::SiteCallee(site));
  }
  EXPECT_EQ(*sim::HostAt(layout.probeSite), 0xE8);
  EXPECT_EQ(sim::ProbeTarget(), sim::ProbeRoutine());
  EXPECT_EQ(*reinterpret_cast<const uint8_t*>(sim::ProbeRoutine()), 0xC3);
  EXPECT_EQ(sim::PropQueryPatchByteValue(), 4);
}

TEST_F(SimulatedHost, CodeIsExecuteReadAndDataReadWrite) {
  struct Case {
    uint32_t offset;
    DWORD protection;
  } cases[] = {
      {sim::Layout().sites[0], PAGE_EXECUTE_READ},          {sim::Layout().propQueryPatchByte, PAGE_EXECUTE_READ},
      {sim::Layout().findNativeHandler, PAGE_EXECUTE_READ}, {sim::Layout().episodeNumber, PAGE_READWRITE},
      {sim::Layout().pedPoolPointer, PAGE_READWRITE},       {sim::PedMatrixOffset, PAGE_READWRITE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    MEMORY_BASIC_INFORMATION info;
    ASSERT_NE(VirtualQuery(sim::HostAt(c.offset), &info, sizeof info), 0u);
    // Image pages that were never written report copy-on-write: writable all the same.
    DWORD protection = info.Protect == PAGE_WRITECOPY ? PAGE_READWRITE : info.Protect;
    EXPECT_EQ(protection, c.protection);
  }
}

TEST_F(SimulatedHost, UnpatchedSitesKeepEveryRegister) {
  for (int site = 0; site < sim::SiteCount; ++site) {
    SCOPED_TRACE(site);
    sim::SiteObservation observation = sim::RunSite(site);
    EXPECT_TRUE(observation.Intact()) << observation.mismatch;
    EXPECT_EQ(observation.resultAfterCall, sim::SiteResultValue(site));
  }
  sim::RunFrames(2);
  EXPECT_TRUE(sim::AllSitesIntact());
  EXPECT_EQ(sim::ProbeExecutions(), 3u);
}

TEST_F(SimulatedHost, SiteChecksSeeWhatAGuestRoutineChanged) {
  const int site = 3;
  struct Case {
    const char* name;
    std::vector<unsigned char> code;  // ends in a jmp to the callee
    bool intact, reachedCallee, preserved, result;
  } cases[] = {
      {"pass-through", {0xE9, 0, 0, 0, 0}, true, true, true, true},
      {"saves and restores", {0x60, 0x31, 0xDB, 0x61, 0xE9, 0, 0, 0, 0}, true, true, true, true},
      {"clobbers EBX", {0x31, 0xDB, 0xE9, 0, 0, 0, 0}, false, false, false, true},
      {"clobbers ESI", {0x31, 0xF6, 0xE9, 0, 0, 0, 0}, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GuestCode guest(c.code, sim::SiteCallee(site));
    SiteRedirect redirect(site, guest.Address());
    sim::SiteObservation observation = sim::RunSite(site);
    EXPECT_EQ(observation.Intact(), c.intact) << observation.mismatch;
    EXPECT_EQ(observation.registersReachedCallee, c.reachedCallee);
    EXPECT_EQ(observation.registersPreserved, c.preserved);
    EXPECT_EQ(observation.resultReachedSite, c.result);
    EXPECT_EQ(observation.mismatch.empty(), c.intact);
  }
  EXPECT_TRUE(sim::RunSite(site).Intact());
}

TEST_F(SimulatedHost, ChangedResultIsNoticed) {
  // mov eax, 0x1234; ret instead of the callee: the result never reaches the site.
  GuestCode guest({0xB8, 0x34, 0x12, 0x00, 0x00, 0xC3});
  SiteRedirect redirect(4, guest.Address());
  sim::SiteObservation observation = sim::RunSite(4);
  EXPECT_FALSE(observation.calleeRan);
  EXPECT_FALSE(observation.resultReachedSite);
  EXPECT_EQ(observation.resultAfterCall, 0x1234u);
  EXPECT_FALSE(observation.Intact());
}

TEST_F(SimulatedHost, GuestCodeWritesAreReportedOnce) {
  const uint32_t site = sim::Layout().sites[2];
  EXPECT_TRUE(sim::CodeChangesSinceBoot().empty());
  sim::TakeNewCodeChanges();
  {
    GuestCode guest({0xE9, 0, 0, 0, 0}, sim::SiteCallee(2));
    SiteRedirect redirect(2, guest.Address());
    std::vector<sim::CodeRange> changes = sim::CodeChangesSinceBoot();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_GE(changes[0].offset, site + 1);
    EXPECT_LE(changes[0].offset + changes[0].bytes.size(), site + 5);
    EXPECT_EQ(sim::TakeNewCodeChanges().size(), 1u);
    EXPECT_TRUE(sim::TakeNewCodeChanges().empty());
  }
  EXPECT_TRUE(sim::CodeChangesSinceBoot().empty());
  // The host's own probe redirection is not a guest change.
  sim::SetProbeTarget(0x70000001);
  EXPECT_TRUE(sim::CodeChangesSinceBoot().empty());
}

TEST_F(SimulatedHost, RedirectedProbeIsNeverExecuted) {
  for (uintptr_t target : {uintptr_t{0x70000000}, uintptr_t{0x70000001}, uintptr_t{0xFFFFFFF0}}) {
    sim::SetProbeTarget(target);
    EXPECT_EQ(sim::ProbeTarget(), target);
    EXPECT_TRUE(sim::RunSite(sim::FrameSite).Intact());
  }
  EXPECT_EQ(sim::ProbeExecutions(), 0u);
  sim::SetProbeTarget(sim::ProbeRoutine());
  EXPECT_TRUE(sim::RunSite(sim::FrameSite).Intact());
  EXPECT_EQ(sim::ProbeExecutions(), 1u);
}

TEST_F(SimulatedHost, RoutinesFollowTheHostsConventions) {
  using PlayerInfoFunction = uintptr_t(__cdecl*)(uint32_t);
  using PoolHandleFunction = int32_t(__attribute__((thiscall))*)(uintptr_t, uintptr_t);
  using PedObjectFunction = uintptr_t(__cdecl*)();
  auto getPlayerInfo = reinterpret_cast<PlayerInfoFunction>(sim::HostAt(sim::Layout().getPlayerInfo));
  auto getPoolHandle = reinterpret_cast<PoolHandleFunction>(sim::HostAt(sim::Layout().getPoolHandle));
  auto getPedObject = reinterpret_cast<PedObjectFunction>(sim::HostAt(sim::Layout().getPlayerPedObject));

  uintptr_t record = getPlayerInfo(0);
  ASSERT_NE(record, 0u);
  EXPECT_EQ(getPlayerInfo(1), 0u);
  uintptr_t pedObject = ReadU32(record + 0x58C);
  EXPECT_EQ(pedObject, getPedObject());
  uintptr_t pool = ReadU32(sim::HostBase() + sim::Layout().pedPoolPointer);
  EXPECT_EQ(getPoolHandle(pool, pedObject), sim::PlayerPedHandle);
  EXPECT_EQ(getPoolHandle(pool, pedObject + 4), 0);
  EXPECT_EQ(getPoolHandle(pool + 4, pedObject), 0);

  sim::SetLocalPlayerIndex(3);
  EXPECT_EQ(getPlayerInfo(0), 0u);
  EXPECT_EQ(getPlayerInfo(3), record);

  sim::SetPlayerPosition({1.5f, -2.5f, 30.0f});
  const float* matrix = reinterpret_cast<const float*>(ReadU32(pedObject + 0x20));
  EXPECT_EQ(matrix[12], 1.5f);
  EXPECT_EQ(matrix[13], -2.5f);
  EXPECT_EQ(matrix[14], 30.0f);
}

// The compiled routines and the native handlers keep what cdecl and thiscall promise
// and no more: ECX and EDX come back holding junk, so a plug-in relying on either
// fails here.
TEST_F(SimulatedHost, RoutinesGiveUpTheRegistersTheirConventionsDoNotKeep) {
  const sim::HostLayout& layout = sim::Layout();
  const uint32_t pool = ReadU32(sim::HostBase() + layout.pedPoolPointer);
  sim::NativeContext context{};
  context.resultPointer = context.argumentPointer = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(context.slots));
  const uint32_t contextAddress = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&context));
  struct Case {
    const char* name;
    uintptr_t routine;
    uint32_t argument;
  };
  const Case cases[] = {
      {"GetPlayerInfo", sim::HostBase() + layout.getPlayerInfo, 0},
      {"GetPoolHandle", sim::HostBase() + layout.getPoolHandle, 0},
      {"GetPlayerPedObject", sim::HostBase() + layout.getPlayerPedObject, 0},
      {"a native handler", sim::NativeHandlerFor(sim::NativeHashOf("IsUsingPad")), contextAddress},
  };
  for (const Case& c : cases) {
    uintptr_t routine = c.routine;
    uint32_t ecx = pool;  // the pool, for the member routine
    uint32_t edx = 0;
    // One stack argument, whoever pops it: ESP is put back from ESI, which both
    // conventions keep.
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[argument]\n\t"
        "call *%%eax\n\t"
        "movl %%esi, %%esp"
        : "+a"(routine), "+c"(ecx), "=d"(edx)
        : [argument] "rm"(c.argument)
        : "esi", "memory", "cc");
    EXPECT_EQ(0xBAD0C0C1u, ecx) << c.name;
    EXPECT_EQ(0xBAD0C0C2u, edx) << c.name;
  }
}

TEST_F(SimulatedHost, LookupAnswersKnownHashesOnly) {
  for (const sim::NativeInfo& info : sim::NativeCatalogue()) {
    SCOPED_TRACE(info.name);
    uintptr_t handler = sim::CallFindNativeHandler(info.hash);
    EXPECT_NE(handler, 0u);
    EXPECT_EQ(handler, sim::NativeHandlerFor(info.hash));
  }
  EXPECT_EQ(sim::NativeCatalogue().size(), 43u);
  EXPECT_EQ(sim::CallFindNativeHandler(0x12345678), 0u);
  ASSERT_EQ(sim::UnknownHashLookups().size(), 1u);
  EXPECT_EQ(sim::UnknownHashLookups()[0], 0x12345678u);
}

struct FaultSeen {
  DWORD code = 0;
  uintptr_t address = 0;
} faultSeen;

LONG CALLBACK SkipFaultingLookup(EXCEPTION_POINTERS* pointers) {
  faultSeen.code = pointers->ExceptionRecord->ExceptionCode;
  faultSeen.address = pointers->ContextRecord->Eip;
  // Continue at the routine's ret with no handler.
  pointers->ContextRecord->Eip += 5;
  pointers->ContextRecord->Eax = 0;
  return EXCEPTION_CONTINUE_EXECUTION;
}

TEST_F(SimulatedHost, FaultingLookupRaisesAnAccessViolationInsideTheRoutine) {
  sim::SetLookupFault(true);
  faultSeen = FaultSeen();
  void* handler = AddVectoredExceptionHandler(1, SkipFaultingLookup);
  uintptr_t answer = sim::CallFindNativeHandler(0x43F7517D);
  RemoveVectoredExceptionHandler(handler);
  sim::SetLookupFault(false);
  EXPECT_EQ(answer, 0u);
  EXPECT_EQ(faultSeen.code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_GE(faultSeen.address, sim::FindNativeHandlerAddress());
  EXPECT_LT(faultSeen.address, sim::FindNativeHandlerAddress() + 64);
  EXPECT_EQ(sim::CallFindNativeHandler(0x43F7517D), sim::NativeHandlerFor(0x43F7517D));
}

// The host stops serving part-way: the nth lookup of one native from now is still
// answered, every later one faults until the fault is switched off.
TEST_F(SimulatedHost, LookupFaultAfterTheNthLookupOfANative) {
  const uintptr_t prompt = sim::NativeHandlerFor(0x43F7517D);
  const uintptr_t clear = sim::NativeHandlerFor(0x07244253);
  sim::SetLookupFaultAfter(0x43F7517D, 2);
  EXPECT_EQ(sim::CallFindNativeHandler(0x43F7517D), prompt);
  EXPECT_EQ(sim::CallFindNativeHandler(0x07244253), clear) << "another native does not count";
  EXPECT_FALSE(sim::LookupFault());
  EXPECT_EQ(sim::CallFindNativeHandler(0x43F7517D), prompt) << "the second is answered";
  EXPECT_TRUE(sim::LookupFault());
  faultSeen = FaultSeen();
  void* handler = AddVectoredExceptionHandler(1, SkipFaultingLookup);
  const uintptr_t answer = sim::CallFindNativeHandler(0x07244253);
  RemoveVectoredExceptionHandler(handler);
  EXPECT_EQ(answer, 0u);
  EXPECT_EQ(faultSeen.code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  sim::SetLookupFault(false);
  EXPECT_EQ(sim::CallFindNativeHandler(0x43F7517D), prompt) << "once only";
  EXPECT_FALSE(sim::LookupFault());
}

void CallLookupOfPrompt(void* answer) { *static_cast<uintptr_t*>(answer) = sim::CallFindNativeHandler(0x43F7517D); }

// The raising lookup: its exception cannot be resumed, only unwound to; the host's own
// frame takes it and the chain of exception frames is as it was.
TEST_F(SimulatedHost, RaisingLookupRaisesANonContinuableExceptionThatTheHostsFrameTakes) {
  const uint32_t chainBefore = __readfsdword(0);
  sim::SetLookupRaise(true);
  uintptr_t answer = 0x5A5A5A5A;
  EXPECT_EQ(sim::RunCatchingHostExceptions(CallLookupOfPrompt, &answer), sim::LookupExceptionCode);
  EXPECT_EQ(answer, 0x5A5A5A5Au) << "the lookup never returned";
  EXPECT_EQ(__readfsdword(0), chainBefore);
  sim::SetLookupRaise(false);
  EXPECT_EQ(sim::RunCatchingHostExceptions(CallLookupOfPrompt, &answer), 0u);
  EXPECT_EQ(answer, sim::NativeHandlerFor(0x43F7517D));
  EXPECT_EQ(__readfsdword(0), chainBefore);
}

// Calls a native the way the host's callers do: slots filled, handler found by hash.
struct Call {
  sim::NativeContext context{};
  explicit Call(std::vector<uint32_t> args) {
    context.resultPointer = reinterpret_cast<uintptr_t>(context.slots);
    context.argumentPointer = reinterpret_cast<uintptr_t>(context.slots);
    for (uint32_t arg : args) context.slots[context.argumentCount++] = arg;
  }
  uint32_t Run(const char* name) {
    sim::CallNativeHandler(sim::CallFindNativeHandler(sim::NativeHashOf(name)), context);
    return context.slots[0];
  }
};

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return bits;
}

uint32_t Address(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

TEST_F(SimulatedHost, HandlersRecordEveryCall) {
  const char label[] = "WD_USE";
  EXPECT_EQ(Call({Address(label)}).Run("ShowHelpMessage"), 0u);
  EXPECT_EQ(sim::World().helpLabel, "WD_USE");
  ASSERT_EQ(sim::NativeLog().size(), 1u);
  const sim::NativeCall& call = sim::NativeLog()[0];
  EXPECT_EQ(call.name, "ShowHelpMessage");
  EXPECT_EQ(call.hash, 0x43F7517Du);
  EXPECT_EQ(call.argumentCount, 1u);
  EXPECT_EQ(call.args, std::vector<std::string>{"WD_USE"});
  EXPECT_EQ(call.scriptThread, sim::HostScriptThreadRecord());

  Call({Address(label), Address(label), Bits(2.5f), 1}).Run("SetPedPosition");
  const std::vector<sim::NativeCall> positions = sim::NativeCallsNamed("SetPedPosition");
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0].args[2], "2.5");
  sim::ClearNativeLog();
  EXPECT_TRUE(sim::NativeLog().empty());
}

// The scenario runner's memory: with the history bounded to a frame, each frame starts
// with no record of the calls before it, however many frames ran.
TEST_F(SimulatedHost, BoundedHistoryKeepsOnlyTheCurrentFramesCalls) {
  const char label[] = "WD_USE";
  const char script[] = "ambwardrobe";
  const char sound[] = "FRONTEND_MENU_HIGHLIGHT";
  sim::SetFrameBoundedHistory(true);
  for (int frame = 0; frame < 3; ++frame) {
    sim::RunFrame();
    Call({Address(label)}).Run("ShowHelpMessage");
    Call({Address(script)}).Run("TerminateScriptsNamed");
    Call({static_cast<uint32_t>(-1), Address(sound)}).Run("PlayFrontendSound");
  }
  EXPECT_EQ(3u, sim::NativeLog().size()) << "the last frame's three calls";
  EXPECT_EQ(1u, sim::World().terminatedScripts.size());
  EXPECT_EQ(1u, sim::World().sounds.size());
  sim::RunFrame();
  EXPECT_TRUE(sim::NativeLog().empty());
  EXPECT_TRUE(sim::World().sounds.empty());

  // By default every call of every frame is kept.
  sim::SetFrameBoundedHistory(false);
  for (int frame = 0; frame < 2; ++frame) {
    sim::RunFrame();
    Call({Address(label)}).Run("ShowHelpMessage");
  }
  EXPECT_EQ(2, sim::CountNativeCalls("ShowHelpMessage"));
}

TEST_F(SimulatedHost, BoxTestUsesThePedsPosition) {
  sim::PutPlayerAtSite(5);
  const sim::SitePosition& site = sim::WardrobeSitePositions[5];
  struct Case {
    float dx, dy, dz;
    uint32_t ped;
    bool inside;
  } cases[] = {
      {0, 0, 0, sim::PlayerPedHandle, true},      {0.99f, -0.99f, 1.59f, sim::PlayerPedHandle, true},
      {1.02f, 0, 0, sim::PlayerPedHandle, false}, {0, -1.02f, 0, sim::PlayerPedHandle, false},
      {0, 0, -1.7f, sim::PlayerPedHandle, false}, {0, 0, 0, sim::PlayerPedHandle + 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dx + 10 * c.dy + 100 * c.dz);
    uint32_t result = Call({c.ped, Bits(site.x + c.dx), Bits(site.y + c.dy), Bits(site.z + c.dz), Bits(1.0f),
                            Bits(1.0f), Bits(1.6f), 1})
                          .Run("IsPedInBoxAroundPoint");
    EXPECT_EQ(result & 0xFF, c.inside ? 1u : 0u);
  }
}

TEST_F(SimulatedHost, PropQueryFollowsThePatchByte) {
  sim::PutProp(0, 2, 1);
  int32_t out = 99;
  Call({sim::PlayerPedHandle, 0, Address(&out)}).Run("GetPedPropIndex");
  EXPECT_EQ(out, 2);
  const uint8_t eight = 8;
  sim::WriteCodeAsGuest(sim::Layout().propQueryPatchByte, &eight, 1);
  Call({sim::PlayerPedHandle, 0, Address(&out)}).Run("GetPedPropIndex");
  EXPECT_EQ(out, 1);
  Call({sim::PlayerPedHandle, 1, Address(&out)}).Run("GetPedPropIndex");
  EXPECT_EQ(out, -1);
  const uint8_t four = 4;
  sim::WriteCodeAsGuest(sim::Layout().propQueryPatchByte, &four, 1);
  std::vector<sim::NativeCall> queries = sim::NativeCallsNamed("GetPedPropIndex");
  ASSERT_EQ(queries.size(), 3u);
  EXPECT_EQ(queries[0].patchByte, 4);
  EXPECT_EQ(queries[1].patchByte, 8);
}

TEST_F(SimulatedHost, ComponentsAndPropsFollowTheModel) {
  sim::SetComponentModel(2, {1, 4});
  EXPECT_EQ(Call({sim::PlayerPedHandle, 2}).Run("GetNumberOfDrawables"), 2u);
  EXPECT_EQ(Call({sim::PlayerPedHandle, 2, 1}).Run("GetNumberOfTextures"), 4u);
  EXPECT_EQ(Call({sim::PlayerPedHandle, 2, 2}).Run("GetNumberOfTextures"), 0u);
  Call({sim::PlayerPedHandle, 2, 1, 3}).Run("SetPedComponent");
  EXPECT_EQ(Call({sim::PlayerPedHandle, 2}).Run("GetPedDrawable"), 1u);
  EXPECT_EQ(Call({sim::PlayerPedHandle, 2}).Run("GetPedTexture"), 3u);
  // Out of range: the host keeps what the ped wears.
  Call({sim::PlayerPedHandle, 2, 0, 1}).Run("SetPedComponent");
  EXPECT_EQ(sim::Ped().components[2].drawable, 1u);
  EXPECT_EQ(sim::Ped().components[2].texture, 3u);

  Call({sim::PlayerPedHandle, 1, 2, 5}).Run("SetPedPropWithTexture");
  EXPECT_EQ(sim::Ped().props[1].index, 2);
  EXPECT_EQ(sim::Ped().props[1].texture, 5);
  Call({sim::PlayerPedHandle, 1, 1}).Run("SetPedProp");
  EXPECT_EQ(sim::Ped().props[1].texture, 0);
  Call({sim::PlayerPedHandle, 1}).Run("ClearPedProp");
  EXPECT_EQ(sim::Ped().props[1].index, -1);

  // Asking for a part the model lacks is a record of its own (a real host may fault):
  // the component request above, and a prop beyond the three an anchor offers (put on
  // all the same). Parts the model has are not recorded.
  const std::string tracePath = WindowsPath(FreshWorkDir("missing_part") + "/trace.jsonl");
  ASSERT_TRUE(sim::OpenTrace(tracePath));
  Call({sim::PlayerPedHandle, 1, 3, 0}).Run("SetPedPropWithTexture");
  sim::CloseTrace();
  std::vector<JsonValue> traced;
  std::istringstream lines(ReadTextFile(tracePath));
  for (std::string line; std::getline(lines, line);) {
    JsonValue record;
    if (ParseJson(line, &record) && record["event"].text == "missing-part") traced.push_back(record);
  }
  ASSERT_EQ(traced.size(), 1u);
  EXPECT_EQ(traced[0]["native"].text, "SetPedPropWithTexture");
  EXPECT_EQ(traced[0]["anchor"].Int(), 1);
  EXPECT_EQ(traced[0]["value"].Int(), 3);
  EXPECT_EQ(traced[0]["texture"].Int(), 0);
  EXPECT_EQ(sim::Ped().props[1].index, 3);
  sim::SetPropCount(0, 5);
  Call({sim::PlayerPedHandle, 0, 4}).Run("SetPedProp");
  Call({sim::PlayerPedHandle, 0, 5}).Run("SetPedProp");
  EXPECT_EQ(sim::World().missingParts,
            (std::vector<std::string>{"SetPedComponent 2 0 1", "SetPedPropWithTexture 1 3 0", "SetPedProp 0 5 0"}));
  sim::ResetModel();
  EXPECT_TRUE(sim::World().missingParts.empty());
}

TEST_F(SimulatedHost, TextIsDrawnWithTheStateSetBeforeIt) {
  sim::RunFrame();
  Call({Bits(0.4f), Bits(0.5f)}).Run("SetTextScale");
  Call({10, 20, 30, 40}).Run("SetTextColour");
  Call({1}).Run("SetTextRightJustify");
  const char label[] = "STRING";
  const char text[] = "Head";
  Call({Bits(0.1f), Bits(0.2f), Address(label), Address(text)}).Run("DisplayLiteralText");
  Call({Bits(0.1f), Bits(0.3f), Address(label), Address(text)}).Run("DisplayLiteralText");
  ASSERT_EQ(sim::World().drawnThisFrame.size(), 2u);
  const sim::DrawnText& first = sim::World().drawnThisFrame[0];
  EXPECT_EQ(first.text, "Head");
  EXPECT_EQ(first.state.scaleY, 0.5f);
  EXPECT_EQ(first.state.red, 10);
  EXPECT_EQ(first.state.alpha, 40);
  EXPECT_TRUE(first.state.rightJustify);
  EXPECT_FALSE(sim::World().drawnThisFrame[1].state.rightJustify);
  sim::RunFrame();
  EXPECT_TRUE(sim::World().drawnThisFrame.empty());
}

TEST_F(SimulatedHost, HeadingTurnsTheMatrixAtTheNextFrame) {
  Call({sim::PlayerPedHandle, Bits(90.0f)}).Run("SetPedHeading");
  EXPECT_FLOAT_EQ(sim::PlayerMatrix()[4], 0.0f);  // forward still +y
  EXPECT_FLOAT_EQ(sim::PlayerMatrix()[5], 1.0f);
  sim::RunFrame();
  EXPECT_NEAR(sim::PlayerMatrix()[4], -1.0f, 1e-6);  // forward now -x
  EXPECT_NEAR(sim::PlayerMatrix()[5], 0.0f, 1e-6);
  EXPECT_NEAR(sim::PlayerMatrix()[0], 0.0f, 1e-6);  // right now +y
  EXPECT_NEAR(sim::PlayerMatrix()[1], 1.0f, 1e-6);
}

TEST_F(SimulatedHost, ScreenResolutionAndMessages) {
  sim::SetResolution(1024, 768);
  int32_t width = 0, height = 0;
  Call({Address(&width), Address(&height)}).Run("GetScreenResolution");
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);

  sim::SetFrameTime(0.05f);
  const char label[] = "STRING";
  const char text[] = "Outfit Saved";
  Call({Address(label), Address(text), 100, 1}).Run("PrintLiteralMessage");
  EXPECT_EQ(sim::PrintedMessage(), "Outfit Saved");
  sim::RunFrame();
  EXPECT_EQ(sim::PrintedMessage(), "Outfit Saved");
  sim::RunFrame();  // 100 ms have passed
  EXPECT_EQ(sim::PrintedMessage(), "");
}

struct ExitRequested {
  unsigned code;
};

void ThrowExit(unsigned code) { throw ExitRequested{code}; }

TEST_F(SimulatedHost, InterceptedImportsAnswerFromTheSimulator) {
  EXPECT_GE(sim::InterceptImports(GetModuleHandleW(nullptr)), 3);
  sim::SetKey('E', true);
  EXPECT_EQ(GetAsyncKeyState('E') & 0x8000, 0x8000);
  EXPECT_EQ(GetAsyncKeyState('W') & 0x8000, 0);
  sim::SetKey('E', false);
  EXPECT_EQ(GetAsyncKeyState('E') & 0x8000, 0);

  // The window in front: the game's belongs to this process, another program's not;
  // the keys are reported either way, as on Windows.
  for (bool gameInFront : {true, false}) {
    sim::SetGameInFront(gameInFront);
    sim::SetKey('E', true);
    EXPECT_EQ(GetAsyncKeyState('E') & 0x8000, 0x8000);
    sim::SetKey('E', false);
    HWND window = GetForegroundWindow();
    ASSERT_NE(window, nullptr);
    DWORD processId = 0;
    EXPECT_NE(GetWindowThreadProcessId(window, &processId), 0u);
    EXPECT_EQ(processId == GetCurrentProcessId(), gameInFront);
  }
  sim::ResetModel();
  EXPECT_TRUE(sim::GameInFront()) << "a reset puts the game in front";

  EXPECT_EQ(MessageBoxA(nullptr, "text", "", MB_ICONERROR), IDOK);
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
  EXPECT_EQ(sim::MessageBoxes()[0].text, "text");
  EXPECT_EQ(sim::MessageBoxes()[0].style, 0x10u);

  sim::SetTerminateHandler(ThrowExit);
  unsigned seen = 0;
  try {
    TerminateProcess(GetCurrentProcess(), 7);
  } catch (const ExitRequested& exit) {
    seen = exit.code;
  }
  sim::SetTerminateHandler(nullptr);
  EXPECT_EQ(seen, 7u);
  ASSERT_FALSE(sim::TerminateRequests().empty());
  EXPECT_EQ(sim::TerminateRequests().back(), 7u);
}

}  // namespace

// The simulated host as a program: hostsim-<build>.exe running scenarios, through the
// test support library.

namespace {

const int otherBuild = sim::FileVersion() == 1080 ? 1080 : 1070;

TEST(SimulatedHostProgram, RunsAScenarioAndEndsItsTrace) {
  HostRun run = RunHost(otherBuild,
                        "# no plug-in\n"
                        "at-site 4\n"
                        "component 1 3 2 5\n"
                        "wear 1 1 4\n"
                        "prop 0 2 1\n"
                        "frames 2\n"
                        "note two frames # kept\n"
                        "state\n",
                        FreshWorkDir("sim_runs_a_scenario"));
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.badLines.empty());
  EXPECT_TRUE(run.RanToEnd());
  EXPECT_TRUE(run.NativeNames().empty());
  EXPECT_FALSE(run.HasEvent("code-write"));
  EXPECT_FALSE(run.HasEvent("register-mismatch"));
  ASSERT_TRUE(run.HasEvent("note"));
  EXPECT_EQ((*run.LastEvent("note"))["text"].text, "two frames # kept");
  const JsonValue* state = run.LastEvent("state");
  ASSERT_NE(state, nullptr);
  EXPECT_EQ((*state)["frame"].Int(), 2);
  EXPECT_FLOAT_EQ(static_cast<float>((*state)["position"][0].Num()), sim::WardrobeSitePositions[4].x);
  EXPECT_EQ((*state)["drawables"][1].Int(), 1);
  EXPECT_EQ((*state)["textures"][1].Int(), 4);
  EXPECT_EQ((*state)["props"][0].Int(), 2);
  EXPECT_EQ((*state)["propTextures"][0].Int(), 1);
}

TEST(SimulatedHostProgram, ABadCommandStopsTheRun) {
  HostRun run = RunHost(otherBuild, "frames 1\nwalk-about 3\nframes 1\n", FreshWorkDir("sim_bad_command"));
  EXPECT_EQ(run.exitCode, 1u);
  const JsonValue* error = run.LastEvent("error");
  ASSERT_NE(error, nullptr);
  EXPECT_EQ((*error)["line"].Int(), 2);
  EXPECT_EQ(run.records.back()["event"].text, "exit");
  EXPECT_EQ(run.records.back()["code"].Int(), 1);
}

TEST(SimulatedHostProgram, ThePlugInsHooksAreSeenAsCodeWritesOnSupportedBuildsOnly) {
  for (int build : {1070, 1080, 1071}) {
    SCOPED_TRACE(build);
    HostRun run = RunHost(build, "load-plugin " + PluginPath() + "\nframes 2\n",
                          FreshWorkDir("sim_code_writes_" + std::to_string(build)));
    ASSERT_TRUE(run.RanToEnd());
    ASSERT_TRUE(run.HasEvent("load-plugin"));
    EXPECT_TRUE((*run.LastEvent("load-plugin"))["ok"].Bool());
    std::vector<const JsonValue*> writes = run.Events("code-write");
    if (build == 1071) {
      EXPECT_TRUE(writes.empty());
      EXPECT_TRUE(run.NativeNames().empty());
      continue;
    }
    const sim::HostLayout& layout = sim::LayoutOf(build == 1070 ? 1 : 2);
    ASSERT_EQ(writes.size(), 8u);
    for (const JsonValue* write : writes) {
      uint32_t offset = static_cast<uint32_t>(std::stoul((*write)["offset"].text, nullptr, 16));
      bool atASite = false;
      for (uint32_t site : layout.sites) atASite = atASite || (offset > site && offset <= site + 4);
      EXPECT_TRUE(atASite) << (*write)["offset"].text;
    }
    EXPECT_FALSE(run.HasEvent("register-mismatch"));
    EXPECT_EQ(run.NativeNames(1).front(), "IsGameplaySuspended");
    EXPECT_FALSE(run.NativeNames(2).empty());
  }
}

TEST(SimulatedHostProgram, ThePlugInsExitIsRecordedBeforeTheProcessEnds) {
  HostRun run = RunHost(otherBuild, "load-plugin " + PluginPath() + "\nprobe-target 0x70000001\nframes 3\n",
                        FreshWorkDir("sim_plugin_exit"));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_FALSE(run.RanToEnd());
  EXPECT_TRUE(run.EndedByPlugin());
  const JsonValue* box = run.LastEvent("message-box");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ((*box)["style"].Int(), 0x10 | 0x40000 | 0x10000);
  EXPECT_EQ((*box)["caption"].text, "");
}

TEST(SimulatedHostProgram, CameraEventsAppearOnlyWhenTheCameraSiteChangesTheCamera) {
  HostRun run = RunHost(otherBuild,
                        "load-plugin " + PluginPath() +
                            "\nat-site 1\nframes 2\npress-pad 23\n"  // frames 1-3; the menu opens in frame 4
                            "frames 3\n"                             // frames 4-6: menu frames 5 and 6
                            "camera none\nframes 2\n"                // no camera object: nothing written
                            "camera present\nat 0 0 0\nframes 2\n",  // away from the site: the host's camera
                        FreshWorkDir("sim_camera_events"));
  ASSERT_TRUE(run.RanToEnd());
  std::vector<long long> frames;
  for (const JsonValue* camera : run.Events("camera")) {
    frames.push_back((*camera)["frame"].Int());
    EXPECT_EQ((*camera)["fov"].Num(), 55.0);
    EXPECT_EQ((*camera)["matrix"].Size(), 16u);
  }
  EXPECT_EQ(frames, (std::vector<long long>{5, 6}));
}

TEST(TraceReader, ReadsWhatTheHostWrites) {
  struct Case {
    const char* text;
    bool ok;
    const char* dump;
  } cases[] = {
      {R"({"a":[1,-2.5,"x\"y\\z\n",true,false,null],"b":{}})", true,
       R"({"a":[1,-2.5,"x\"y\\z\n",true,false,null],"b":{}})"},
      {R"("\u00e9\ud83d\ude00")", true, "\"\xC3\xA9\xF0\x9F\x98\x80\""},
      {"  [ ]  ", true, "[]"},
      {"1e3", true, "1000"},
      {R"({"a":1,})", false, ""},
      {R"([1 2])", false, ""},
      {R"("open)", false, ""},
      {"tru", false, ""},
      {"{} {}", false, ""},
      {"-", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    JsonValue value;
    std::string error;
    EXPECT_EQ(ParseJson(c.text, &value, &error), c.ok) << error;
    if (c.ok) {
      EXPECT_EQ(value.Dump(), c.dump);
    }
  }
  JsonValue record;
  ASSERT_TRUE(ParseJson(R"({"frame":3,"native":"SetPedHeading","args":[10753,270,true,"0x00000010"]})", &record));
  EXPECT_EQ(ArgsOf(record), (std::vector<std::string>{"10753", "270", "true", "0x00000010"}));
  EXPECT_TRUE(record["missing"].IsNull());
  EXPECT_TRUE(record["args"][9].IsNull());
}

// A module loaded by the simulator is never at its preferred base, and works there:
// the companion fixture's export reads its variable's name through an address the
// loader relocated.
TEST(SimulatedHostProgram, ModulesLoadAwayFromTheirPreferredBase) {
  const sim::LoadedModule loaded =
      sim::LoadModuleRelocated(WindowsPath(BuildPath("fixtures/companion_fixture/KorvaneIV.asi")));
  ASSERT_NE(loaded.module, nullptr) << GetLastError();
  EXPECT_NE(loaded.preferredBase, 0u);
  EXPECT_NE(reinterpret_cast<uintptr_t>(loaded.module), loaded.preferredBase);
  using GetVersion = void(__cdecl*)(uint32_t*, uint32_t*);
  auto query =
      reinterpret_cast<GetVersion>(reinterpret_cast<void*>(GetProcAddress(loaded.module, "GetKorvaneVersion")));
  ASSERT_NE(query, nullptr);
  SetEnvironmentVariableA("KORVANE_FIXTURE_VERSION", "220625");
  uint32_t version = 0, other = 0;
  query(&version, &other);
  SetEnvironmentVariableA("KORVANE_FIXTURE_VERSION", nullptr);
  EXPECT_EQ(version, 220625u);
  FreeLibrary(loaded.module);
}

}  // namespace
