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

uint64_t Cpld::read(uint64_t offset, unsigned bytes) {
  ++reads_;
  uint64_t value = 0;
  for (unsigned i = 0; i < bytes; ++i) value |= uint64_t(reg(uint16_t(offset + i))) << (8 * i);
  return value;
}

// The firmware's side of the CPLD is read-only here; the BMC writes through setReg.
void Cpld::write(uint64_t, unsigned, uint64_t) {}

}  // namespace zub
