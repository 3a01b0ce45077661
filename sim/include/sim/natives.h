// The host's script natives: the lookup routine, the handlers, and the record of every
// call.
//
// FindNativeHandler (planted at its host offset) returns, per hash, the address of a
// planted handler `void __cdecl Handler(NativeContext*)`; each handler reads its
// arguments from the context's argument slots, acts on the model (ped_model.h,
// world_model.h) and writes its result into slot 0 (0 for natives without a result).
// Unknown hashes give 0.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// The host's 160-byte native call record.
struct NativeContext {
  uint32_t resultPointer;
  uint32_t argumentCount;
  uint32_t argumentPointer;
  uint32_t vectorFixupCount;
  uint32_t vectorFixupTargets[4];
  uint32_t vectorTemporaries[16];
  uint32_t slots[16];
};
static_assert(sizeof(NativeContext) == 160, "the host's native context is 160 bytes");

// One call of a native handler, recorded before the handler acts (arguments) and
// completed after it (result).
struct NativeCall {
  uint32_t frame;    // CurrentFrame() at the call
  std::string name;  // e.g. "ShowHelpMessage"
  uint32_t hash;
  uint32_t argumentCount;  // as the caller set it in the context
  uint32_t slots[16];      // the argument slots as the handler found them
  // The arguments by the native's signature: strings as their text, floats as
  // numbers ("%.9g"), bools "true"/"false", pointers "0x%08X", integers decimal.
  std::vector<std::string> args;
  std::string signature;  // one letter per argument: i integer, f float, b bool, s string, p pointer
  bool boolResult;        // the native's result is a bool
  uint32_t result;        // slot 0 after the handler
  int patchByte;          // GetPedPropIndex: PropQueryPatchByte at the call; else -1
  uint32_t scriptThread;  // CurrentScriptThread at the call

  int32_t IntArg(int i) const { return static_cast<int32_t>(slots[i]); }
  float FloatArg(int i) const;
  bool BoolArg(int i) const { return (slots[i] & 0xFF) != 0; }
};

const std::vector<NativeCall>& NativeLog();
void ClearNativeLog();
// The recorded calls of one native, in call order.
std::vector<NativeCall> NativeCallsNamed(const std::string& name);
int CountNativeCalls(const std::string& name);
// The names of all recorded calls, in order (handy for order assertions).
std::vector<std::string> NativeCallNames();

// The catalogue.
struct NativeInfo {
  const char* name;
  uint32_t hash;
  const char* signature;  // argument letters as in NativeCall::signature
  bool boolResult;
};
const std::vector<NativeInfo>& NativeCatalogue();
// 0 for an unknown name; nullptr for an unknown hash.
uint32_t NativeHashOf(const std::string& name);
const NativeInfo* NativeInfoOf(uint32_t hash);

// What FindNativeHandler returns for a hash (0 when unknown), computed without
// running the routine.
uintptr_t NativeHandlerFor(uint32_t hash);
// The planted FindNativeHandler routine, and a call of it the way the host calls it
// (hash in ESI).
uintptr_t FindNativeHandlerAddress();
uintptr_t CallFindNativeHandler(uint32_t hash);
// Calls a handler the way a caller of the host's natives does.
void CallNativeHandler(uintptr_t handler, NativeContext& context);

// From now until ResetModel, the handler of that native writes exactly this value into
// slot 0 whatever its own answer (e.g. 0x00000100 for a bool native, whose callers
// must read only the lowest byte).
void SetRawNativeResult(uint32_t hash, uint32_t slotValue);

// While set, FindNativeHandler raises an access violation inside the routine instead
// of answering.
void SetLookupFault(bool fault);
bool LookupFault();
// While set, FindNativeHandler raises an exception flagged non-continuable
// (RaiseException with EXCEPTION_NONCONTINUABLE and this code) instead of answering:
// no handler may resume it, only unwind to its own frame.
constexpr uint32_t LookupExceptionCode = 0xE0570017u;
void SetLookupRaise(bool raise);
// Raises the same exception once, at the nth lookup of hash from now on (n = 1: the
// next one): an exception at a chosen point of the plug-in's frame, such as inside one
// native call of many. A hash of 0 (or n = 0) cancels it.
void SetLookupRaiseOn(uint32_t hash, uint32_t nth);
// Answers the nth lookup of hash from now on (n = 1: the next one) and then sets the
// lookup fault (SetLookupFault(true)): the host stops serving natives in the middle of
// the plug-in's frame. A hash of 0 (or n = 0) cancels it.
void SetLookupFaultAfter(uint32_t hash, uint32_t nth);
// Lookups answered so far, and the unknown hashes asked for (emptied by
// ClearUnknownHashLookups, e.g. between the many calls of a benchmark).
uint32_t LookupCount();
const std::vector<uint32_t>& UnknownHashLookups();
void ClearUnknownHashLookups();

}  // namespace sim
