#include "Cpld.h"

#include "Chipset.h"

namespace zub {

Cpld::Cpld(const Chipset& chipset, uint32_t base, std::map<uint16_t, uint8_t> registers)
    : chipset_(chipset), base_(base & LpcBridge::kRangeBaseMask), registers_(std::move(registers)) {}

MemoryTarget Cpld::decode(uint64_t address) {
  if (address < base_ || address - base_ >= LpcBridge::kRangeSize) return {};
  if (!chipset_.lpcMemoryWindowOpen(base_)) return {};
  uint64_t offset = address - base_;
  return {this, offset, LpcBridge::kRangeSize - offset};
}

uint8_t Cpld::reg(uint16_t index) const {
  auto it = registers_.find(index);
  return it == registers_.end() ? 0xFF : it->second;
}

void Cpld::trace(uint64_t offset, unsigned bytes, uint64_t value, bool write) {
  uint32_t dmi = chipset_.pcr.readRegister(Pcr::kDmiPort, Pcr::kDmiLpcGenericMemoryRange);
  accesses_.push_back({uint16_t(offset), bytes, uint32_t(value), write, chipset_.lpc.genericMemoryRange(), dmi});
}

uint64_t Cpld::read(uint64_t offset, unsigned bytes) {
  ++reads_;
  uint64_t value = 0;
  for (unsigned i = 0; i < bytes; ++i) value |= uint64_t(reg(uint16_t(offset + i))) << (8 * i);
  trace(offset, bytes, value, false);
  return value;
}

// Registers are plain bytes to the firmware as well; a multi-byte write lands little-endian.
void Cpld::write(uint64_t offset, unsigned bytes, uint64_t value) {
  for (unsigned i = 0; i < bytes; ++i) registers_[uint16_t(offset + i)] = uint8_t(value >> (8 * i));
  trace(offset, bytes, value, true);
}

}  // namespace zub
