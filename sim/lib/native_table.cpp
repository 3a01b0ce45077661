// FindNativeHandler, the planted native handlers, and the record of every call.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "native_behaviour.h"
#include "planting.h"
#include "sim/frame.h"
#include "sim/host_image.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"
#include "sim/natives.h"
#include "sim/trace.h"
#include "x86_emitter.h"

namespace sim {

namespace {

constexpr uint32_t LookupFaultFlag = SimFlagsOffset + 1;
constexpr uint32_t HandlerStride = 0x20;
// Where the faulting lookup reads: nothing is ever mapped there.
constexpr uint32_t FaultAddress = 0x10;

std::vector<NativeCall> nativeLog;
// Slot-0 values that replace a native's own answer (SetRawNativeResult).
std::map<uint32_t, uint32_t> rawResults;
std::vector<uint32_t> unknownLookups;
uint32_t lookupCount = 0;
bool lookupRaises = false;
uint32_t raiseOnHash = 0;          // SetLookupRaiseOn: the hash whose lookup raises,
uint32_t raiseOnCountdown = 0;     // at this many more lookups of it
uint32_t faultAfterHash = 0;       // SetLookupFaultAfter: the hash whose lookup is the
uint32_t faultAfterCountdown = 0;  // last one answered, at this many more lookups of it

uintptr_t HandlerAddress(size_t index) { return HostBase() + NativeHandlersOffset + HandlerStride * index; }

std::string ArgumentText(char kind, uint32_t slot) {
  char buffer[32];
  switch (kind) {
    case 'f': {
      float value;
      std::memcpy(&value, &slot, 4);
      std::snprintf(buffer, sizeof buffer, "%.9g", value);
      return buffer;
    }
    case 'b': return (slot & 0xFF) ? "true" : "false";
    case 's': return ReadGuestString(slot);
    case 'p': std::snprintf(buffer, sizeof buffer, "0x%08X", slot); return buffer;
    default: return std::to_string(static_cast<int32_t>(slot));
  }
}

std::string ArgumentJson(char kind, uint32_t slot) {
  switch (kind) {
    case 'f': {
      float value;
      std::memcpy(&value, &slot, 4);
      return JsonNumber(value);
    }
    case 'b': return (slot & 0xFF) ? "true" : "false";
    case 's':
    case 'p': return JsonString(ArgumentText(kind, slot));
    default: return std::to_string(static_cast<int32_t>(slot));
  }
}

void TraceCall(const NativeCall& call) {
  if (!TraceOpen()) return;
  std::string args = "[";
  for (size_t i = 0; i < call.signature.size(); ++i) {
    if (i) args += ",";
    args += ArgumentJson(call.signature[i], call.slots[i]);
  }
  args += "]";
  JsonObject line;
  line.Field("frame", call.frame).Field("native", call.name).Field("hash", HexText(call.hash)).RawField("args", args);
  if (call.boolResult) {
    line.Field("result", (call.result & 0xFF) != 0);
  } else {
    line.Field("result", static_cast<long long>(static_cast<int32_t>(call.result)));
  }
  if (call.patchByte >= 0) line.Field("patch", call.patchByte);
  WriteTraceLine(line.Text());
}

// Called by the planted handler of native `index` with the caller's context.
extern "C" void __cdecl SimDispatchNative(uint32_t index, NativeContext* context) {
  const NativeInfo& info = NativeCatalogue()[index];
  uint32_t* slots = reinterpret_cast<uint32_t*>(context->argumentPointer);
  NativeCall call;
  call.frame = CurrentFrame();
  call.name = info.name;
  call.hash = info.hash;
  call.argumentCount = context->argumentCount;
  std::memcpy(call.slots, slots, sizeof call.slots);
  call.signature = info.signature;
  for (size_t i = 0; i < call.signature.size(); ++i)
    call.args.push_back(ArgumentText(call.signature[i], call.slots[i]));
  call.boolResult = info.boolResult;
  call.patchByte = info.hash == 0x3AC85DB1 ? PropQueryPatchByteValue() : -1;
  call.scriptThread = CurrentScriptThreadValue();

  uint32_t result = RunNativeBehaviour(info.hash, call.slots);
  if (const auto raw = rawResults.find(info.hash); raw != rawResults.end()) result = raw->second;
  *reinterpret_cast<uint32_t*>(context->resultPointer) = result;
  call.result = result;
  nativeLog.push_back(call);
  TraceCall(call);
}

// The body of FindNativeHandler: the hash arrives in ESI and is passed on here.
extern "C" uintptr_t __cdecl SimFindNativeHandler(uint32_t hash) {
  if (lookupRaises) RaiseException(LookupExceptionCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  if (raiseOnHash != 0 && hash == raiseOnHash && --raiseOnCountdown == 0) {
    raiseOnHash = 0;
    RaiseException(LookupExceptionCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  }
  ++lookupCount;
  if (faultAfterHash != 0 && hash == faultAfterHash && --faultAfterCountdown == 0) {
    faultAfterHash = 0;
    SetLookupFault(true);  // this lookup is answered, every later one faults
  }
  uintptr_t handler = NativeHandlerFor(hash);
  if (handler == 0) {
    unknownLookups.push_back(hash);
    if (TraceOpen()) {
      WriteTraceLine(JsonObject()
                         .Field("event", "unknown-native")
                         .Field("frame", CurrentFrame())
                         .Field("hash", HexText(hash))
                         .Text());
    }
  }
  return handler;
}

}  // namespace

float NativeCall::FloatArg(int i) const {
  float value;
  std::memcpy(&value, &slots[i], 4);
  return value;
}

// What FindNativeHandler leaves in the registers its convention does not name: the
// host promises only the hash in ESI and the handler in EAX (and its stack), so a
// caller that counts on any other register must fail in the simulator too.
void ClobberUnpromisedRegisters(X86Emitter& code) {
  for (Reg32 reg : {EBX, ECX, EDX, ESI, EDI, EBP}) code.MovRegImm(reg, 0xBAD00000u + reg);  // 5 bytes each
}

void PlantNativeHandlers() {
  // FindNativeHandler: hash in ESI, handler in EAX, and nothing else kept: the other
  // registers hold junk on return and at the fault alike.
  X86Emitter lookup(HostBase() + Layout().findNativeHandler);
  lookup.CompareByte(static_cast<uint32_t>(HostBase() + LookupFaultFlag), 0);
  lookup.JumpIfEqualShort(6 * 5 + 5 + 1);
  ClobberUnpromisedRegisters(lookup);
  lookup.LoadReg(EAX, FaultAddress);  // the fault: a read of unmapped memory
  lookup.Ret();
  lookup.PushReg(ESI);
  lookup.CallRel32(reinterpret_cast<uintptr_t>(&SimFindNativeHandler));
  lookup.AddEsp(4);
  ClobberUnpromisedRegisters(lookup);
  lookup.Ret();

  // One handler per native: void __cdecl Handler(NativeContext*), keeping what cdecl
  // keeps and returning junk in ECX and EDX.
  for (size_t index = 0; index < NativeCatalogue().size(); ++index) {
    X86Emitter handler(HandlerAddress(index));
    handler.PushEspRelative(4);
    handler.PushImm(static_cast<uint32_t>(index));
    handler.CallRel32(reinterpret_cast<uintptr_t>(&SimDispatchNative));
    handler.AddEsp(8);
    handler.MovRegImm(ECX, 0xBAD0C0C1u);
    handler.MovRegImm(EDX, 0xBAD0C0C2u);
    handler.Ret();
  }
}

void SetRawNativeResult(uint32_t hash, uint32_t slotValue) { rawResults[hash] = slotValue; }

void ResetNatives() {
  rawResults.clear();
  nativeLog.clear();
  unknownLookups.clear();
  lookupCount = 0;
  SetLookupFault(false);
  SetLookupRaise(false);
  SetLookupRaiseOn(0, 0);
  SetLookupFaultAfter(0, 0);
}

uintptr_t NativeHandlerFor(uint32_t hash) {
  const std::vector<NativeInfo>& catalogue = NativeCatalogue();
  for (size_t index = 0; index < catalogue.size(); ++index) {
    if (catalogue[index].hash == hash) return HandlerAddress(index);
  }
  return 0;
}

uintptr_t FindNativeHandlerAddress() { return HostBase() + Layout().findNativeHandler; }

uintptr_t CallFindNativeHandler(uint32_t hash) {
  uintptr_t routine = FindNativeHandlerAddress();
  uintptr_t handler;
  // The routine keeps only ESP: EBP and EBX, which the compiler may hold on to, are
  // saved around it, the rest is declared lost.
  asm volatile(
      "push %%ebp\n\t"
      "push %%ebx\n\t"
      "call *%%ecx\n\t"
      "pop %%ebx\n\t"
      "pop %%ebp"
      : "=a"(handler), "+S"(hash), "+c"(routine)
      :
      : "edx", "edi", "memory", "cc");
  return handler;
}

void CallNativeHandler(uintptr_t handler, NativeContext& context) {
  reinterpret_cast<void(__cdecl*)(NativeContext*)>(handler)(&context);
}

void SetLookupFault(bool fault) { *HostAt(LookupFaultFlag) = fault ? 1 : 0; }
bool LookupFault() { return *HostAt(LookupFaultFlag) != 0; }
void SetLookupRaise(bool raise) { lookupRaises = raise; }
void SetLookupRaiseOn(uint32_t hash, uint32_t nth) {
  raiseOnHash = nth != 0 ? hash : 0;
  raiseOnCountdown = nth;
}
void SetLookupFaultAfter(uint32_t hash, uint32_t nth) {
  faultAfterHash = nth != 0 ? hash : 0;
  faultAfterCountdown = nth;
}
uint32_t LookupCount() { return lookupCount; }
const std::vector<uint32_t>& UnknownHashLookups() { return unknownLookups; }
void ClearUnknownHashLookups() { unknownLookups.clear(); }

const std::vector<NativeCall>& NativeLog() { return nativeLog; }
void ClearNativeLog() { nativeLog.clear(); }

std::vector<NativeCall> NativeCallsNamed(const std::string& name) {
  std::vector<NativeCall> calls;
  for (const NativeCall& call : nativeLog) {
    if (call.name == name) calls.push_back(call);
  }
  return calls;
}

int CountNativeCalls(const std::string& name) {
  int count = 0;
  for (const NativeCall& call : nativeLog) count += call.name == name;
  return count;
}

std::vector<std::string> NativeCallNames() {
  std::vector<std::string> names;
  for (const NativeCall& call : nativeLog) names.push_back(call.name);
  return names;
}

}  // namespace sim
