#include "Pcr.h"

namespace zub {

Pcr::Pcr(Machine& machine) : range_(kBase, kSize, this) { machine.memory.add(&range_); }

uint64_t Pcr::load(uint64_t offset, unsigned bytes) const {
  uint64_t v = 0;
  for (unsigned i = 0; i < bytes && offset + i < kSize; ++i) {
    uint64_t a = offset + i;
    const PortFile* file = ports_[a >> 16].get();
    v |= uint64_t(file ? (*file)[a & 0xFFFF] : 0) << (8 * i);
  }
  return v;
}

uint64_t Pcr::read(uint64_t offset, unsigned bytes) { return load(offset, bytes); }

void Pcr::write(uint64_t offset, unsigned bytes, uint64_t value) {
  for (unsigned i = 0; i < bytes && offset + i < kSize; ++i) {
    uint64_t a = offset + i;
    auto& file = ports_[a >> 16];
    if (!file) file = std::make_unique<PortFile>();
    (*file)[a & 0xFFFF] = uint8_t(value >> (8 * i));
  }
  if (onWrite) onWrite(uint8_t(offset >> 16), uint16_t(offset), bytes, value);
}

uint32_t Pcr::readRegister(uint8_t port, uint16_t offset, unsigned bytes) const {
  return uint32_t(load(uint64_t(port) << 16 | offset, bytes));
}

void Pcr::writeRegister(uint8_t port, uint16_t offset, unsigned bytes, uint32_t value) {
  write(uint64_t(port) << 16 | offset, bytes, uint64_t(value));
}

}  // namespace zub
