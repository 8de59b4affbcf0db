#include "PciBus.h"

#include <algorithm>

#include "PciBridge.h"

namespace zub {

void PciBus::attach(uint8_t device, uint8_t function, PciFunction& f) {
  unsigned devfn = (device & 31) << 3 | (function & 7);
  slots_[devfn] = &f;
  functions_.clear();
  bridges_.clear();
  for (PciFunction* g : slots_) {
    if (!g) continue;
    functions_.push_back(g);
    if (PciBridge* b = g->bridge()) bridges_.push_back(b);
  }
  if (PciFunction* f0 = at(device, 0); f0 && function != 0) f0->markMultiFunction();
}

PciFunction* PciBus::routeConfig(uint8_t bus, uint8_t device, uint8_t function) const {
  for (PciBridge* b : bridges_) {
    if (bus == b->secondaryBus()) return b->secondary().at(device, function);
    if (bus > b->secondaryBus() && bus <= b->subordinateBus()) return b->secondary().routeConfig(bus, device, function);
  }
  return nullptr;
}

MemoryTarget PciBus::routeMemory(uint64_t address) const {
  for (PciFunction* f : functions_) {
    if (MemoryTarget t = f->decodeMemory(address); t.device) return t;
    if (PciBridge* b = f->bridge(); b && b->forwardsMemory(address)) return b->secondary().routeMemory(address);
  }
  return {};
}

PortDevice* PciBus::routeVgaPorts() const {
  for (PciFunction* f : functions_) {
    if (PciBridge* b = f->bridge()) {
      if (b->forwardsVgaPorts()) return b->secondary().routeVgaPorts();
    } else if (f->ioEnabled()) {
      if (PortDevice* d = f->legacyVgaPorts()) return d;
    }
  }
  return nullptr;
}

MemoryDevice* PciBus::routeVgaMemory() const {
  for (PciFunction* f : functions_) {
    if (PciBridge* b = f->bridge()) {
      if (b->forwardsVgaMemory()) return b->secondary().routeVgaMemory();
    } else if (f->memoryEnabled()) {
      if (MemoryDevice* d = f->legacyVgaMemory()) return d;
    }
  }
  return nullptr;
}

}  // namespace zub
