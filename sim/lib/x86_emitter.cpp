#include "x86_emitter.h"

#include <cstring>

namespace sim {

void X86Emitter::Byte(uint8_t value) {
  *reinterpret_cast<uint8_t*>(cursor) = value;
  cursor += 1;
}

void X86Emitter::Dword(uint32_t value) {
  std::memcpy(reinterpret_cast<void*>(cursor), &value, 4);
  cursor += 4;
}

void X86Emitter::PushImm(uint32_t value) {
  Byte(0x68);
  Dword(value);
}

void X86Emitter::PushEspRelative(uint8_t displacement) {
  Byte(0xFF);
  Byte(0x74);  // ModRM: /6, [SIB + disp8]
  Byte(0x24);  // SIB: base ESP
  Byte(displacement);
}

void X86Emitter::RetPop(uint16_t bytes) {
  Byte(0xC2);
  Byte(static_cast<uint8_t>(bytes));
  Byte(static_cast<uint8_t>(bytes >> 8));
}

void X86Emitter::MovRegImm(Reg32 reg, uint32_t value) {
  Byte(0xB8 + reg);
  Dword(value);
}

void X86Emitter::StoreReg(uint32_t absolute, Reg32 reg) {
  if (reg == EAX) {
    Byte(0xA3);
  } else {
    Byte(0x89);
    Byte(static_cast<uint8_t>(0x05 | (reg << 3)));
  }
  Dword(absolute);
}

void X86Emitter::LoadReg(Reg32 reg, uint32_t absolute) {
  if (reg == EAX) {
    Byte(0xA1);
  } else {
    Byte(0x8B);
    Byte(static_cast<uint8_t>(0x05 | (reg << 3)));
  }
  Dword(absolute);
}

void X86Emitter::LoadRegEspRelative(Reg32 reg, uint8_t displacement) {
  Byte(0x8B);
  Byte(static_cast<uint8_t>(0x44 | (reg << 3)));
  Byte(0x24);
  Byte(displacement);
}

void X86Emitter::AddEsp(uint8_t value) {
  Byte(0x83);
  Byte(0xC4);
  Byte(value);
}

void X86Emitter::CompareByte(uint32_t absolute, uint8_t value) {
  Byte(0x80);
  Byte(0x3D);
  Dword(absolute);
  Byte(value);
}

void X86Emitter::JumpIfNotEqualShort(int8_t distance) {
  Byte(0x75);
  Byte(static_cast<uint8_t>(distance));
}

void X86Emitter::JumpIfEqualShort(int8_t distance) {
  Byte(0x74);
  Byte(static_cast<uint8_t>(distance));
}

void X86Emitter::CallRel32(uintptr_t target) {
  Byte(0xE8);
  Dword(static_cast<uint32_t>(target - (cursor + 4)));
}

void X86Emitter::JumpRel32(uintptr_t target) {
  Byte(0xE9);
  Dword(static_cast<uint32_t>(target - (cursor + 4)));
}

uintptr_t RelativeTarget(uintptr_t instruction) {
  int32_t displacement;
  std::memcpy(&displacement, reinterpret_cast<const void*>(instruction + 1), 4);
  return instruction + 5 + static_cast<uintptr_t>(displacement);
}

}  // namespace sim
