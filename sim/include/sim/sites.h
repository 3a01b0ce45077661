// The host's eight hooked call sites, each planted as a real `E8 rel32` call inside a
// small stub of host code that the simulator runs as the host would.
//
// A site stub, entered by a plain call: pushad; saves ESP; loads EAX, EBX, ECX, EDX,
// ESI, EDI and EBP with values known per site (SiteRegisterValue); calls the site's own
// host routine (its "callee") with the E8 at the site's offset; records EAX, EBX, ESI,
// EDI, EBP and ESP after it; restores ESP; popad; ret. The callee records all eight
// registers and its return address on entry and returns SiteResultValue(site) in EAX.
// The stubs work unpatched and patched (the plug-in rewrites the rel32 of each site).
//
// The frame site's stub also holds, 20 bytes before the frame site, the probe call:
// an `E8 rel32` to a planted plain `ret`. It executes only while its destination is
// that routine; redirected anywhere else it is jumped over (so any address is safe).
#pragma once
#include <cstdint>
#include <string>

namespace sim {

struct SiteObservation {
  int site = -1;
  uint32_t frame = 0;
  bool calleeRan = false;  // the site's own routine was reached
  // All eight registers arrived unchanged (ESP = stub ESP - 4). After-kind sites
  // (4 and 5) are called by their hook's thunk from inside it, so there ESP and the
  // return address are not checked, only the seven other registers.
  bool registersReachedCallee = false;
  bool returnAddressCorrect = false;  // [esp] in the callee was site + 5
  bool resultReachedSite = false;     // the callee's EAX arrived after the call
  bool registersPreserved = false;    // EBX, ESI, EDI, EBP and ESP unchanged after the call
  uint32_t resultAfterCall = 0;       // EAX after the call
  uint32_t hostException = 0;         // code of an exception the host's handler caught, 0 if none
  std::string mismatch;               // what differed; empty when intact

  bool Intact() const {
    return calleeRan && registersReachedCallee && returnAddressCorrect && resultReachedSite && registersPreserved;
  }
};

// Runs one site's stub now (outside a frame as well) and checks its registers.
SiteObservation RunSite(int site);
// The observation of the site's latest run.
const SiteObservation& LastObservation(int site);
// Whether the site's own routine has been entered during the site's current (or
// latest) run: a hook's callback can tell from it whether it runs before or after
// the host's routine.
bool SiteCalleeEntered(int site);

// Absolute addresses: the call instruction at the site, its planted callee, and where
// the call at the site leads now (the callee unpatched, a thunk once hooked).
uintptr_t SiteAddress(int site);
uintptr_t SiteCallee(int site);
uintptr_t SiteCallTarget(int site);
// The value the stub loads into a register (0 EAX, 1 ECX, 2 EDX, 3 EBX, 5 EBP, 6 ESI,
// 7 EDI) before the call. For the after-kind sites (4 and 5) ECX is the address of a
// host object of the site (SiteObjectPointer), which the plug-in's after-callbacks
// receive.
uint32_t SiteRegisterValue(int site, int reg);
uint32_t SiteObjectPointer(int site);
// The result each callee returns in EAX.
uint32_t SiteResultValue(int site);

// Another program's change at a site, made before the plug-in loads, as a modified
// executable or a plug-in loaded earlier leaves it. Written like the host's own code,
// so it is not reported as a code change: any code-write after it is the plug-in's.
//   Nops              five NOPs: the host's routine is no longer called there
//   JumpToTrampoline  E9 rel32 to a planted trampoline that calls the site's routine
//                     and jumps back to site + 5 (the routine sees the trampoline's
//                     return address)
//   CallUnmapped      E8 rel32 to an address where nothing is mapped
//   CallDataPage      E8 rel32 into the host's read-write (not executable) data area
//   None              the bytes from before the first change put back
// The last two would fault the host where it runs them: such a site is not run
// (RunSite reports it as not reached), as if the host never came to it.
enum class SiteTamper { None, Nops, JumpToTrampoline, CallUnmapped, CallDataPage };
void TamperSite(int site, SiteTamper tamper);
SiteTamper TamperOf(int site);
// Where a tampered site leads: the trampoline, the unmapped address, the data address.
uintptr_t TamperTarget(int site, SiteTamper tamper);

// The probe call before the frame site: its address, its own routine (a plain ret),
// its destination now, redirection (only the rel32 is rewritten), and how many times
// it executed.
uintptr_t ProbeCallAddress();
uintptr_t ProbeRoutine();
uintptr_t ProbeTarget();
void SetProbeTarget(uintptr_t target);
uint32_t ProbeExecutions();

}  // namespace sim
