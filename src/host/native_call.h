// Calling a host script native by its hash through the host's own lookup routine.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// The argument and result record that the host's native handlers read and write. Its
// layout is the host's, to the byte.
struct NativeCallContext {
  struct VectorResult {
    float x, y, z;
    uint32_t padding;
  };

  uint32_t resultPointer;     // address of slots: slot 0 receives the result
  uint32_t argumentCount;     // 0 to 16
  uint32_t argumentPointer;   // address of slots
  uint32_t vectorFixupCount;  // set by the handler
  uint32_t vectorFixupTargets[4];
  VectorResult vectorTemporaries[4];
  uint32_t slots[16];

  // Slots start cleared, so a native without a handler reads as 0 / false.
  NativeCallContext();
  NativeCallContext(const NativeCallContext&) = delete;
  NativeCallContext& operator=(const NativeCallContext&) = delete;

  void PushArgument(uint32_t value);
  void PushArgument(int32_t value) { PushArgument(static_cast<uint32_t>(value)); }
  void PushArgument(float value);
  void PushArgument(bool value);
  void PushArgument(const char* text) { PushArgument(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text))); }
  void PushArgument(const void* pointer) { PushArgument(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer))); }
};

static_assert(sizeof(NativeCallContext) == 160, "the host's context is 160 bytes");
static_assert(offsetof(NativeCallContext, resultPointer) == 0x00, "host layout");
static_assert(offsetof(NativeCallContext, argumentCount) == 0x04, "host layout");
static_assert(offsetof(NativeCallContext, argumentPointer) == 0x08, "host layout");
static_assert(offsetof(NativeCallContext, vectorFixupCount) == 0x0C, "host layout");
static_assert(offsetof(NativeCallContext, vectorFixupTargets) == 0x10, "host layout");
static_assert(offsetof(NativeCallContext, vectorTemporaries) == 0x20, "host layout");
static_assert(offsetof(NativeCallContext, slots) == 0x60, "host layout");

// Looks the handler up and calls it with the context; false when there is none.
bool InvokeNative(uint32_t hash, NativeCallContext& context);
// Copies the vector results the handler left in the context to their targets, the
// last one first.
void CopyVectorResults(NativeCallContext& context);

// One call: a fresh context, the arguments pushed left to right, the handler, the
// vector fix-ups, slot 0 as the result. A native the host has no handler for yields 0
// (slot 0 would otherwise still hold the first argument).
template <typename... Args>
uint32_t CallNativeSlot(uint32_t hash, Args... args) {
  NativeCallContext context;
  (context.PushArgument(args), ...);
  if (!InvokeNative(hash, context)) return 0;
  CopyVectorResults(context);
  return context.slots[0];
}

template <typename... Args>
int32_t CallNative(uint32_t hash, Args... args) {
  return static_cast<int32_t>(CallNativeSlot(hash, args...));
}

// Bool-result natives: only the lowest byte of slot 0 counts.
template <typename... Args>
bool CallNativeBool(uint32_t hash, Args... args) {
  return (CallNativeSlot(hash, args...) & 0xFF) != 0;
}
