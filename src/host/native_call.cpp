#include "host/native_call.h"

#include "host/native_lookup.h"

NativeCallContext::NativeCallContext()
    : resultPointer(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slots))),
      argumentCount(0),
      argumentPointer(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slots))),
      vectorFixupCount(0),
      vectorFixupTargets{},
      vectorTemporaries{},
      slots{} {}

void NativeCallContext::PushArgument(uint32_t value) {
  if (argumentCount >= 16) return;
  slots[argumentCount++] = value;
}

void NativeCallContext::PushArgument(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PushArgument(bits);
}

void NativeCallContext::PushArgument(bool value) {
  if (argumentCount >= 16) return;
  slots[argumentCount] = 0;
  reinterpret_cast<uint8_t*>(&slots[argumentCount])[0] = value ? 1 : 0;
  ++argumentCount;
}

bool InvokeNative(uint32_t hash, NativeCallContext& context) {
  // The handlers are compiled functions of the host taking the context as their one
  // cdecl argument, so the compiler's call assumes what cdecl keeps and no more: EBX,
  // ESI, EDI, EBP and ESP; EAX, ECX and EDX are lost (the result is in the context).
  using Handler = void(__cdecl*)(NativeCallContext*);
  uintptr_t handler = LookupNative(hash);
  if (handler == 0) return false;
  reinterpret_cast<Handler>(handler)(&context);
  return true;
}

void CopyVectorResults(NativeCallContext& context) {
  // The handler sets the count; anything above the four temporaries is not the host's.
  if (context.vectorFixupCount > 4) context.vectorFixupCount = 4;
  while (context.vectorFixupCount > 0) {
    --context.vectorFixupCount;
    const auto& source = context.vectorTemporaries[context.vectorFixupCount];
    auto* target =
        reinterpret_cast<float*>(static_cast<uintptr_t>(context.vectorFixupTargets[context.vectorFixupCount]));
    target[0] = source.x;
    target[1] = source.y;
    target[2] = source.z;
  }
}
