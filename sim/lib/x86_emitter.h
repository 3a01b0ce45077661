// A tiny x86 (32-bit) byte emitter: just the instructions the host's planted code
// needs, written straight into host memory at a given address.
#pragma once
#include <cstdint>

namespace sim {

enum Reg32 : uint8_t { EAX = 0, ECX = 1, EDX = 2, EBX = 3, ESP = 4, EBP = 5, ESI = 6, EDI = 7 };

class X86Emitter {
 public:
  explicit X86Emitter(uintptr_t address) : cursor(address) {}

  uintptr_t Here() const { return cursor; }
  void Byte(uint8_t value);
  void Dword(uint32_t value);

  void Pushad() { Byte(0x60); }
  void Popad() { Byte(0x61); }
  void Ret() { Byte(0xC3); }
  // ret imm16: return and pop that many bytes of arguments
  void RetPop(uint16_t bytes);
  void Nop() { Byte(0x90); }
  void PushReg(Reg32 reg) { Byte(0x50 + reg); }
  void PopReg(Reg32 reg) { Byte(0x58 + reg); }
  void PushImm(uint32_t value);
  // push dword [esp + displacement]
  void PushEspRelative(uint8_t displacement);
  // mov reg, imm32
  void MovRegImm(Reg32 reg, uint32_t value);
  // mov [absolute], reg
  void StoreReg(uint32_t absolute, Reg32 reg);
  // mov reg, [absolute]
  void LoadReg(Reg32 reg, uint32_t absolute);
  // mov reg, [esp + displacement]
  void LoadRegEspRelative(Reg32 reg, uint8_t displacement);
  // add esp, imm8
  void AddEsp(uint8_t value);
  // cmp byte [absolute], imm8
  void CompareByte(uint32_t absolute, uint8_t value);
  // jne / je rel8 over the next `distance` bytes
  void JumpIfNotEqualShort(int8_t distance);
  void JumpIfEqualShort(int8_t distance);
  // call / jmp rel32 to an absolute target
  void CallRel32(uintptr_t target);
  void JumpRel32(uintptr_t target);

 private:
  uintptr_t cursor;
};

// The destination of the 5-byte relative call or jump at address.
uintptr_t RelativeTarget(uintptr_t instruction);

}  // namespace sim
