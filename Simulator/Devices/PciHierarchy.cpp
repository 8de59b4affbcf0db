#include "PciHierarchy.h"

namespace zub {

void PciHierarchy::adopt(PciBus& bus, uint8_t device, uint8_t function, std::unique_ptr<PciFunction> f) {
  bus.attach(device, function, *f);
  owned_.push_back(std::move(f));
}

PciFunction* PciHierarchy::function(uint8_t bus, uint8_t device, uint8_t function) const {
  return bus == 0 ? bus0_.at(device, function) : bus0_.routeConfig(bus, device, function);
}

uint32_t PciHierarchy::configRead(uint8_t bus, uint8_t device, uint8_t fn, uint16_t offset, unsigned bytes) const {
  PciFunction* f = function(bus, device, fn);
  if (!f) return bytes >= 4 ? 0xFFFFFFFF : (1u << (8 * bytes)) - 1;
  return f->configRead(offset, bytes);
}

void PciHierarchy::configWrite(uint8_t bus, uint8_t device, uint8_t fn, uint16_t offset, unsigned bytes,
                               uint32_t value) {
  if (PciFunction* f = function(bus, device, fn)) f->configWrite(offset, bytes, value);
}

MemoryTarget PciHierarchy::decodeMemory(uint64_t address) const {
  if (address > 0xFFFFFFFF) return {};
  return bus0_.routeMemory(address);
}

void PciHierarchy::attach(Machine& machine) {
  machine.memory.add(&ecam_);
  machine.memory.add(&memory_);
  machine.memory.add(&vgaMemory_);
  machine.ports.map(PciVgaPorts::kMonoFirst, PciVgaPorts::kMonoLast, &vgaPorts_);
  machine.ports.map(PciVgaPorts::kFirst, PciVgaPorts::kLast, &vgaPorts_);
}

}  // namespace zub
