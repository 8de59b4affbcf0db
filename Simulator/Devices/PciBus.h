// One PCI bus segment: the functions present on it, by device and function number, and
// the routing of cycles that arrive on it.
// - Configuration: a cycle for another bus number goes through the bridge whose
//   [secondary, subordinate] range holds it; at the secondary bus it becomes a type 0
//   cycle. Bridges forward configuration cycles whatever their command register says.
// - Memory: the first function that claims the address (a BAR, or a bridge whose window
//   holds it and whose memory enable is on) gets the cycle; a bridge that claims passes
//   it down and nothing else on this bus sees it.
// - Legacy VGA I/O and memory: bridges with VGA enable plus I/O (ports) or memory
//   (0xA0000) enable pass them down; an endpoint claims them with the same enables.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "PciFunction.h"

namespace zub {

class PciBus {
public:
  void attach(uint8_t device, uint8_t function, PciFunction& f);
  PciFunction* at(uint8_t device, uint8_t function) const { return slots_[(device & 31) << 3 | (function & 7)]; }
  const std::vector<PciFunction*>& functions() const { return functions_; }

  // A configuration cycle for bus `bus`, which is not this bus's own number.
  PciFunction* routeConfig(uint8_t bus, uint8_t device, uint8_t function) const;
  MemoryTarget routeMemory(uint64_t address) const;
  PortDevice* routeVgaPorts() const;
  MemoryDevice* routeVgaMemory() const;

private:
  std::array<PciFunction*, 256> slots_{};
  std::vector<PciFunction*> functions_;
  std::vector<PciBridge*> bridges_;
};

}  // namespace zub
