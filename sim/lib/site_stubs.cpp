// The eight hooked call sites and the probe call, planted as host code.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "planting.h"
#include "sim/frame.h"
#include "sim/host_exceptions.h"
#include "sim/host_image.h"
#include "sim/host_layout.h"
#include "sim/sites.h"
#include "x86_emitter.h"

namespace sim {

namespace {

// Per-site register record in the data area, written by the planted stub and callee.
struct SiteRecord {
  uint32_t stubEsp;
  uint32_t callee[8];  // registers at the callee's entry, indexed by Reg32
  uint32_t calleeReturn;
  uint32_t after[8];  // registers after the call, indexed by Reg32 (ECX, EDX unused)
};
static_assert(sizeof(SiteRecord) <= 0x80, "site records are 0x80 bytes apart");

constexpr uint32_t SiteRecordStride = 0x80;
constexpr uint32_t SkipProbeFlag = SimFlagsOffset + 0;
constexpr uint32_t ProbeDistance = 20;
constexpr uint32_t PlainStubPrefix = 1 + 6 + 7 * 5;  // pushad, save ESP, seven loads
constexpr uint32_t ProbeTestLength = 7 + 2;          // cmp byte [flag], 0; jne over the probe

const Reg32 loadedRegisters[7] = {EAX, EBX, ECX, EDX, ESI, EDI, EBP};
const char* const registerNames[8] = {"EAX", "ECX", "EDX", "EBX", "ESP", "EBP", "ESI", "EDI"};

uint32_t stubStart[SiteCount];
SiteObservation observations[SiteCount];
SiteTamper tampers[SiteCount];
uint8_t untamperedBytes[SiteCount][5];
uint32_t probeExecutions = 0;

SiteRecord& RecordOf(int site) { return *HostAt<SiteRecord>(SiteRecordsOffset + SiteRecordStride * site); }
uint32_t RecordField(int site, const uint32_t& field) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&field));
}

void PlantCallee(int site) {
  SiteRecord& record = RecordOf(site);
  X86Emitter code(HostBase() + SiteCalleesOffset + 0x80 * site);
  for (int reg = 0; reg < 8; ++reg) code.StoreReg(RecordField(site, record.callee[reg]), static_cast<Reg32>(reg));
  code.LoadRegEspRelative(EAX, 0);
  code.StoreReg(RecordField(site, record.calleeReturn), EAX);
  code.MovRegImm(EAX, SiteResultValue(site));
  code.Ret();
}

void PlantStub(int site) {
  const uint32_t siteOffset = Layout().sites[site];
  const bool withProbe = site == FrameSite;
  const uint32_t start =
      withProbe ? siteOffset - ProbeDistance - ProbeTestLength - PlainStubPrefix : siteOffset - PlainStubPrefix;
  stubStart[site] = start;
  SiteRecord& record = RecordOf(site);
  X86Emitter code(HostBase() + start);
  code.Pushad();
  code.StoreReg(RecordField(site, record.stubEsp), ESP);
  for (Reg32 reg : loadedRegisters) code.MovRegImm(reg, SiteRegisterValue(site, reg));
  if (withProbe) {
    code.CompareByte(static_cast<uint32_t>(HostBase() + SkipProbeFlag), 0);
    code.JumpIfNotEqualShort(5);
    if (code.Here() != HostBase() + Layout().probeSite) std::abort();
    code.CallRel32(HostBase() + ProbeRoutineOffset);
    while (code.Here() < HostBase() + siteOffset) code.Nop();
  }
  if (code.Here() != HostBase() + siteOffset) std::abort();
  code.CallRel32(SiteCallee(site));
  for (Reg32 reg : {EAX, EBX, ESI, EDI, EBP, ESP}) code.StoreReg(RecordField(site, record.after[reg]), reg);
  code.LoadReg(ESP, RecordField(site, record.stubEsp));
  code.Popad();
  code.Ret();
}

// A trampoline of another program: calls the site's routine, jumps back after the site.
void PlantTrampoline(int site) {
  X86Emitter code(TamperTarget(site, SiteTamper::JumpToTrampoline));
  code.CallRel32(SiteCallee(site));
  code.JumpRel32(SiteAddress(site) + 5);
}

// An address with nothing mapped: a range reserved and given back at once.
uintptr_t UnmappedAddress() {
  static uintptr_t address = [] {
    void* range = VirtualAlloc(nullptr, 0x10000, MEM_RESERVE, PAGE_NOACCESS);
    if (range == nullptr) std::abort();
    VirtualFree(range, 0, MEM_RELEASE);
    return reinterpret_cast<uintptr_t>(range) + 0x100;
  }();
  return address;
}

bool TamperLeadsNowhere(SiteTamper tamper) {
  return tamper == SiteTamper::CallUnmapped || tamper == SiteTamper::CallDataPage;
}

void Compare(std::string& mismatch, const char* where, int reg, uint32_t actual, uint32_t expected) {
  if (actual == expected) return;
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%s%s %s 0x%08X, expected 0x%08X", mismatch.empty() ? "" : "; ", where,
                registerNames[reg], actual, expected);
  mismatch += buffer;
}

}  // namespace

uint32_t SiteRegisterValue(int site, int reg) {
  if (reg == ECX && (site == 4 || site == 5)) return SiteObjectPointer(site);
  return 0x51000000u | static_cast<uint32_t>(site + 1) << 16 | static_cast<uint32_t>(reg + 1) << 8 | 0x5A;
}

uint32_t SiteObjectPointer(int site) {
  if (site != 4 && site != 5) return 0;
  return static_cast<uint32_t>(HostBase() + SiteObjectsOffset + 0x40 * (site - 4));
}

uint32_t SiteResultValue(int site) { return 0x7E5A0000u | static_cast<uint32_t>(site + 1); }

uintptr_t SiteAddress(int site) { return HostBase() + Layout().sites[site]; }
uintptr_t SiteCallee(int site) { return HostBase() + SiteCalleesOffset + 0x80 * site; }
uintptr_t SiteCallTarget(int site) { return RelativeTarget(SiteAddress(site)); }

uintptr_t ProbeCallAddress() { return HostBase() + Layout().probeSite; }
uintptr_t ProbeRoutine() { return HostBase() + ProbeRoutineOffset; }
uintptr_t ProbeTarget() { return RelativeTarget(ProbeCallAddress()); }
uint32_t ProbeExecutions() { return probeExecutions; }

void SetProbeTarget(uintptr_t target) {
  int32_t displacement = static_cast<int32_t>(target - (ProbeCallAddress() + 5));
  WriteHostCode(Layout().probeSite + 1, &displacement, 4);
}

void PlantSiteStubs() {
  *HostAt(ProbeRoutineOffset) = 0xC3;
  for (int site = 0; site < SiteCount; ++site) {
    PlantCallee(site);
    PlantStub(site);
    PlantTrampoline(site);
  }
}

uintptr_t TamperTarget(int site, SiteTamper tamper) {
  switch (tamper) {
    case SiteTamper::JumpToTrampoline: return HostBase() + TrampolinesOffset + 0x20 * site;
    case SiteTamper::CallUnmapped: return UnmappedAddress();
    case SiteTamper::CallDataPage: return HostBase() + SiteObjectsOffset + 0x800;
    default: return 0;
  }
}

void TamperSite(int site, SiteTamper tamper) {
  Boot();
  if (site < 0 || site >= SiteCount) return;
  const uint32_t offset = Layout().sites[site];
  if (tampers[site] == SiteTamper::None) std::memcpy(untamperedBytes[site], HostAt(offset), 5);
  uint8_t bytes[5] = {0x90, 0x90, 0x90, 0x90, 0x90};
  if (tamper == SiteTamper::None) {
    std::memcpy(bytes, untamperedBytes[site], 5);
  } else if (tamper != SiteTamper::Nops) {
    bytes[0] = tamper == SiteTamper::JumpToTrampoline ? 0xE9 : 0xE8;
    const uint32_t displacement = static_cast<uint32_t>(TamperTarget(site, tamper) - (SiteAddress(site) + 5));
    std::memcpy(bytes + 1, &displacement, 4);
  }
  WriteHostCode(offset, bytes, 5);
  tampers[site] = tamper;
}

SiteTamper TamperOf(int site) { return site >= 0 && site < SiteCount ? tampers[site] : SiteTamper::None; }

void ResetSites() {
  if (ProbeTarget() != ProbeRoutine()) SetProbeTarget(ProbeRoutine());
  for (SiteObservation& observation : observations) observation = SiteObservation();
  probeExecutions = 0;
}

bool SiteCalleeEntered(int site) {
  if (site < 0 || site >= SiteCount) return false;
  return RecordOf(site).calleeReturn != 0;
}

namespace {

void RunStub(void* stub) { reinterpret_cast<void (*)()>(stub)(); }

}  // namespace

SiteObservation RunSite(int site) {
  Boot();
  if (site < 0 || site >= SiteCount) return SiteObservation();
  SiteRecord& record = RecordOf(site);
  std::memset(&record, 0, sizeof record);
  if (TamperLeadsNowhere(tampers[site])) {
    SiteObservation skipped;
    skipped.site = site;
    skipped.frame = CurrentFrame();
    skipped.mismatch = "not run: the call at the site leads to memory that cannot be executed";
    observations[site] = skipped;
    return skipped;
  }
  if (site == FrameSite) {
    const bool skip = ProbeTarget() != ProbeRoutine();
    *HostAt(SkipProbeFlag) = skip ? 1 : 0;
    if (!skip) ++probeExecutions;
  }

  SiteObservation observation;
  observation.site = site;
  observation.frame = CurrentFrame();
  // An exception that no handler of the plug-in's takes ends the site's run here, as
  // the host's own handler would; the stub never got to its checks.
  observation.hostException = RunCatchingHostExceptions(RunStub, reinterpret_cast<void*>(HostBase() + stubStart[site]));
  if (observation.hostException != 0) {
    observation.mismatch = "an exception left the site's run";
    observations[site] = observation;
    return observation;
  }
  observation.calleeRan = record.calleeReturn != 0;
  std::string mismatch;
  if (!observation.calleeRan) {
    mismatch = "the site's own routine was not reached";
  } else {
    // An after-kind site's routine may be called from inside a hook's thunk, below
    // the site's own return address: there only the seven other registers count.
    const bool after = KindOfSite(site) == SiteKind::After;
    std::string before;
    for (int reg = 0; reg < 8; ++reg) {
      if (reg == ESP && after) continue;
      uint32_t expected = reg == ESP ? record.stubEsp - 4 : SiteRegisterValue(site, reg);
      Compare(before, "at the callee", reg, record.callee[reg], expected);
    }
    observation.registersReachedCallee = before.empty();
    mismatch += before;
    observation.returnAddressCorrect = after || record.calleeReturn == SiteAddress(site) + 5;
    if (!observation.returnAddressCorrect) {
      char buffer[96];
      std::snprintf(buffer, sizeof buffer, "%sreturn address 0x%08X, expected 0x%08X", mismatch.empty() ? "" : "; ",
                    record.calleeReturn, static_cast<uint32_t>(SiteAddress(site) + 5));
      mismatch += buffer;
    }
  }
  observation.resultAfterCall = record.after[EAX];
  std::string result;
  Compare(result, "after the call", EAX, record.after[EAX], SiteResultValue(site));
  observation.resultReachedSite = result.empty();
  std::string preserved;
  for (Reg32 reg : {EBX, ESI, EDI, EBP})
    Compare(preserved, "after the call", reg, record.after[reg], SiteRegisterValue(site, reg));
  Compare(preserved, "after the call", ESP, record.after[ESP], record.stubEsp);
  observation.registersPreserved = preserved.empty();
  for (const std::string* part : {&result, &preserved}) {
    if (part->empty()) continue;
    if (!mismatch.empty()) mismatch += "; ";
    mismatch += *part;
  }
  observation.mismatch = mismatch;
  observations[site] = observation;
  return observation;
}

const SiteObservation& LastObservation(int site) {
  static const SiteObservation none;
  if (site < 0 || site >= SiteCount) return none;
  return observations[site];
}

}  // namespace sim
